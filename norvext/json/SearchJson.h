#ifndef NORVEXT_JSON_SEARCHJSON_H
#define NORVEXT_JSON_SEARCHJSON_H

/// \file
/// A search record with its hits as JSON, for reading by people and
/// scripts (there is no way back: a search record is not persisted).
/// docs/search.md gives the members.

#include <norvext/json/Export.h>

#include <string>

namespace Norv {
class XBlast;
}

namespace NorvJson {

/// The JSON text of `search`, on one line: {"query": {"id", "description",
/// "length"}, "hits": [...]}, the query's id being its sequence's source id
/// and the description its display name, the length that of the searched
/// range; each hit in hit order as {"id", "sourceID", "title", "best":
/// {"score", "eValue", "bitScore"}, "alignments": [{"score", "eValue",
/// "bitScore", "queryFrom", "queryTo", "subjectFrom", "subjectTo",
/// "segments": [[lower, upper], ...]}]}, the title being that of the hit's
/// summary ("" without one) and the segments those of the alignment's record
/// for row 1. Texts and numbers travel as in toJson(): bytes that are not
/// UTF-8 as {"base64": "..."}, doubles in their shortest exact form. Never
/// fails but for allocation.
NORVJSON_API std::string searchToJson(const Norv::XBlast& search);

/// As searchToJson(search), appended to `out`: many records into one text
/// without a copy each.
NORVJSON_API void searchToJson(const Norv::XBlast& search, std::string& out);

}  // namespace NorvJson

#endif
