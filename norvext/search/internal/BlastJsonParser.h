#ifndef NORVEXT_SEARCH_INTERNAL_BLASTJSONPARSER_H
#define NORVEXT_SEARCH_INTERNAL_BLASTJSONPARSER_H

// BLAST JSON: -outfmt 15 (one object whose "BlastOutput2" is an array of
// reports, one per query) and the per-query files of -outfmt 13 (whose
// "BlastOutput2" is one report), read one report at a time.

#include "Formats.h"

#include <string_view>

namespace NorvSearch {
namespace internal {

// Whether an output that begins with `head` (blanks passed over) is BLAST
// JSON: an object whose first key is "BlastOutput2", or "BlastJSON" (a list
// of per-query files).
bool isBlastJson(std::string_view head);

// Calls `each` with every query in file order. Throws SearchError naming
// the source with line and column; a list of per-query files (-outfmt 13's
// "BlastJSON") is refused: SearchReader::readFile() follows it.
void parseBlastJson(Input& in, const ReadContext& context, const EachQuery& each);

}  // namespace internal
}  // namespace NorvSearch

#endif
