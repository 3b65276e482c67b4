#ifndef NORVEXT_SEARCH_QUERYJSON_H
#define NORVEXT_SEARCH_QUERYJSON_H

#include <norvext/search/Export.h>
#include <norvext/search/QueryResult.h>

#include <string>

namespace NorvSearch {

/// The JSON text of one query's search record, on one line without a line
/// end, appended to `out`: {"query": {...}, "hits": [...]} as
/// NorvJson::searchToJson() gives it for makeSearch(result), with what the
/// output said besides: the query's "round" (iterated searches only),
/// "program", "version" and "database"; each hit's subject "length"; each
/// alignment's strands and frames, counts ("alignmentLength",
/// "identities", "positives", "mismatches", "gapOpens", "gaps"),
/// "percentIdentity" and aligned letters ("querySeq", "subjectSeq").
/// Absent values are null: a score the output did not give, a range it
/// did not give, a length of 0. docs/search.md lists every member. Never
/// fails but for allocation.
NORVSEARCH_API void queryToJson(const QueryResult& result, std::string& out);

/// As queryToJson(result, out), with `search`, which must be
/// makeSearch(result), made once by a caller that needs it too.
NORVSEARCH_API void queryToJson(const QueryResult& result, const Norv::XBlast& search, std::string& out);

}  // namespace NorvSearch

#endif
