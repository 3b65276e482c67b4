#ifndef NORVEXT_SEARCH_INTERNAL_FIELDS_H
#define NORVEXT_SEARCH_INTERNAL_FIELDS_H

// Numbers and ids as search engines print them. Each parser takes the whole
// text or throws std::invalid_argument saying what is wrong; the readers add
// the place.

#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

// A signed 32-bit decimal integer.
int parseInt(std::string_view text);
// A 1-based position or a length: a decimal integer from 1 to 2^31-1 (the
// segments of a record hold positions as int).
unsigned int parsePosition(std::string_view text);
// A count of letters or columns, 0 included, up to 2^31-1.
unsigned int parseCount(std::string_view text);
// A double in any form an engine prints: "0.0", "1e-180", "2.96e-169",
// "456", and BLAST's short "e-180" for 1e-180. One below the smallest double
// ("1e-400") reads as 0.
double parseReal(std::string_view text);

// The subject's id parts: BLAST's "gnl|BL_ORD_ID|N" stands for a database
// made without parsed ids; its number is the database ordinal.
bool isOrdinalID(std::string_view id);
// An id that BLAST makes up for a query it was given without one
// ("Query_N", "lcl|Query_N", "lcl|N_N"): the definition's first word is the
// real one.
bool isMadeUpQueryID(std::string_view id);
// The number an id carries: the ordinal of "gnl|BL_ORD_ID|N", the gi of
// "gi|N|..." ; 0 for any other id.
unsigned int numberInID(std::string_view id);
// Whether `c` is a blank, a tab or a line end.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// `text` without the blanks, tabs and line ends around it. Inline, as the
// tabular reader trims every column of every line.
inline std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}
// Whether `text` begins with `prefix`.
bool startsWith(std::string_view text, std::string_view prefix);
// `line` split at its first blank: the first word and the rest (without
// that blank).
void splitFirstWord(std::string_view line, std::string_view& word, std::string_view& rest);
void splitFirstWord(std::string_view line, std::string& word, std::string& rest);
// FASTA's query definition with its length behind: "mgstm1 - 218 aa" ("nt"
// for nucleotides), as its tabular comments and its -m 10 query lines give
// it. True with the definition without that tail, the length and whether
// the letters are nucleotides; false, leaving them alone, for a line
// without such a tail.
bool splitFastaLength(std::string_view line, std::string_view& definition, unsigned int& length, bool& nucleotides);

}  // namespace internal
}  // namespace NorvSearch

#endif
