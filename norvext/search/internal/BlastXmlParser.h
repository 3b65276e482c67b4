#ifndef NORVEXT_SEARCH_INTERNAL_BLASTXMLPARSER_H
#define NORVEXT_SEARCH_INTERNAL_BLASTXMLPARSER_H

// BLAST XML (-outfmt 5), one query per <Iteration>, read with pugixml.
// Several documents one after the other (as old BLAST wrote for several
// queries) are read as one.

#include "Input.h"

#include <norvext/search/QueryResult.h>

#include <functional>
#include <string>

namespace NorvSearch {
namespace internal {

// Calls `each` with every query in file order. Throws SearchError naming
// `source` with line and column.
void parseBlastXml(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each);

}  // namespace internal
}  // namespace NorvSearch

#endif
