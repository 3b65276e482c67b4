#ifndef NORVEXT_SEARCH_INTERNAL_TABULARPARSER_H
#define NORVEXT_SEARCH_INTERNAL_TABULARPARSER_H

// BLAST tabular (-outfmt 6 and 7, and DIAMOND's --outfmt 6), FASTA36 tabular
// (-m 8, 8C, 8CB) and MMseqs2's (easy-search, convertalis --format-mode 0
// and 4): one alignment per line, tab-separated, with optional comment lines
// (BLAST, FASTA) or a header line (MMseqs2).

#include "Input.h"

#include <norvext/search/QueryResult.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {
namespace internal {

enum class Dialect { Blast, Fasta, MMseqs };

// Whether an output that begins with `head` (blanks passed over) is tabular
// output of `dialect`'s engine: its first comment names a program of that
// engine (findProgram()); for MMseqs2, its first line is the header of
// --format-mode 4 (MMseqs2's column names) or a line of its 12 default
// columns (an identity fraction "0.779", an E-value "1.320E-122"); for
// BLAST, its first line has four columns or more and is not MMseqs2's.
bool isTabular(std::string_view head, Dialect dialect);

// Throws std::invalid_argument for `fields` the reader cannot take: a
// keyword it does not know, or a list without a query id, a subject id,
// E-value or bit score column. A leading "6" or "7" (BLAST's own "-outfmt
// '6 std btop'") is passed over; words split at commas (MMseqs2's
// "query,target,..."). The keywords are BLAST's and DIAMOND's, or MMseqs2's
// when one of them is MMseqs2's only.
void checkFields(const std::vector<std::string>& fields);

// Calls `each` with every query in file order. `fields` are BLAST field
// keywords ("qseqid", "std", ...) for lines whose columns the output does
// not name (they override a "# Fields:" line or MMseqs2's header); empty
// means the standard 12 (and BTOP for a 13th FASTA column), MMseqs2's own
// 12 for its dialect. Throws SearchError naming `source`
// with line and column.
void parseTabular(Input& in, Dialect dialect, const std::vector<std::string>& fields, const std::string& source,
                  const std::function<void(QueryResult&&)>& each);

}  // namespace internal
}  // namespace NorvSearch

#endif
