#ifndef NORVEXT_SEARCH_INTERNAL_FASTAM10PARSER_H
#define NORVEXT_SEARCH_INTERNAL_FASTAM10PARSER_H

// FASTA36's -m 10 output: per query a banner and its best scores, then
// "; key: value" lines for the program, for each alignment its scores, and
// its two sequences as shown (context around the aligned part) with their
// ranges, and FASTA's marks of each column.

#include "Input.h"

#include <norvext/search/QueryResult.h>

#include <functional>
#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

// Whether an output that begins with `head` (blanks passed over) is FASTA's
// -m 10: FASTA's banner (a FASTA36 program's name, then its " version"
// line) or a ">>>" query line, and a "; pg_name:" line naming a FASTA36
// program. FASTA's other text outputs share the banner; only -m 10 writes
// the key lines.
bool isFastaM10(std::string_view head);
// Whether `head` holds FASTA's banner or a query line ("  1>>>..."), which
// its text outputs hold and its tabular outputs never do.
bool hasFastaBanner(std::string_view head);

// Calls `each` with every query in file order, as soon as its ">>><<<" line
// is read. Throws SearchError naming `source` with line and column.
void parseFastaM10(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each);

}  // namespace internal
}  // namespace NorvSearch

#endif
