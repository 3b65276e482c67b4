#ifndef NORVEXT_SEARCH_INTERNAL_REPORTLIST_H
#define NORVEXT_SEARCH_INTERNAL_REPORTLIST_H

// The lists of per-query files that BLAST writes into the file -out names
// for -outfmt 13 ({"BlastJSON": [{"File": "out_1.json"}, ...]}) and 14 (a
// <BlastXML2> of <xi:include href="out_1.xml"/>, one per query).

#include "Input.h"

#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {
namespace internal {

// Whether an output that begins with `head` (its first 4 KiB or all of it)
// is such a list, from positive signs only: an object whose first key is
// "BlastJSON"; XML2 whose <BlastXML2> holds an <xi:include> first.
bool isReportList(std::string_view head);

// The names the list holds, in its order. Each must name a file beside the
// list: a name that is empty, ".", "..", or has a folder part ('/', '\\') is
// refused. Throws SearchError naming `source` with line and column, as for
// a list that does not read.
std::vector<std::string> listedFiles(Input& in, const std::string& source);

}  // namespace internal
}  // namespace NorvSearch

#endif
