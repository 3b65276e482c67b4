#ifndef NORVEXT_SEARCH_INTERNAL_BLASTXMLPARSER_H
#define NORVEXT_SEARCH_INTERNAL_BLASTXMLPARSER_H

// BLAST XML (-outfmt 5), one query per <Iteration>, read with pugixml.
// Several documents one after the other (as old BLAST wrote for several
// queries) are read as one.

#include "Input.h"

#include <norvext/search/QueryResult.h>

#include <functional>
#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

// Whether an output that begins with `head` (blanks passed over) is BLAST
// XML: an XML declaration, or a BlastOutput element or its doctype.
bool isBlastXml(std::string_view head);

// Calls `each` with every query in file order. Throws SearchError naming
// `source` with line and column.
void parseBlastXml(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each);

}  // namespace internal
}  // namespace NorvSearch

#endif
