#ifndef NORVEXT_SEARCH_INTERNAL_TABULARPARSER_H
#define NORVEXT_SEARCH_INTERNAL_TABULARPARSER_H

// BLAST tabular (-outfmt 6 and 7) and FASTA36 tabular (-m 8, 8C, 8CB): one
// alignment per line, tab-separated, with optional comment lines.

#include "Input.h"

#include <norvext/search/QueryResult.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {
namespace internal {

enum class Dialect { Blast, Fasta };

// Whether an output that begins with `head` (blanks passed over) is tabular
// output of `dialect`'s engine: its first comment names a program of that
// engine (findProgram()); or, for BLAST, its first line has four columns or
// more (BLAST's own 12 or more, the second a subject id).
bool isTabular(std::string_view head, Dialect dialect);

// Throws std::invalid_argument for `fields` the reader cannot take: a
// keyword it does not know, or a list without a query id or a subject id
// column. A leading "6" or "7" (BLAST's own "-outfmt '6 std btop'") is
// passed over.
void checkFields(const std::vector<std::string>& fields);

// Calls `each` with every query in file order. `fields` are BLAST field
// keywords ("qseqid", "std", ...) for lines whose columns the output does
// not name (they override a "# Fields:" line); empty means the standard 12
// (and BTOP for a 13th FASTA column). Throws SearchError naming `source`
// with line and column.
void parseTabular(Input& in, Dialect dialect, const std::vector<std::string>& fields, const std::string& source,
                  const std::function<void(QueryResult&&)>& each);

}  // namespace internal
}  // namespace NorvSearch

#endif
