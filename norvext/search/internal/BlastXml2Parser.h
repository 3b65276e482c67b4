#ifndef NORVEXT_SEARCH_INTERNAL_BLASTXML2PARSER_H
#define NORVEXT_SEARCH_INTERNAL_BLASTXML2PARSER_H

// BLAST XML2: -outfmt 16 (one <BlastXML2> document with a <BlastOutput2>
// per query) and the per-query files of -outfmt 14 (one <BlastOutput2>
// document each), read with pugixml one <BlastOutput2> at a time.

#include "Formats.h"

#include <string_view>

namespace NorvSearch {
namespace internal {

// Whether an output that begins with `head` (blanks passed over) is XML2:
// after an XML declaration, a <BlastXML2> or <BlastOutput2> element.
bool isBlastXml2(std::string_view head);

// Calls `each` with every query in file order. Throws SearchError naming
// the source with line and column; a list of per-query files (-outfmt 14's
// <xi:include>) is refused: SearchReader::readFile() follows it.
void parseBlastXml2(Input& in, const ReadContext& context, const EachQuery& each);

}  // namespace internal
}  // namespace NorvSearch

#endif
