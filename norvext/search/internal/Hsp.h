#ifndef NORVEXT_SEARCH_INTERNAL_HSP_H
#define NORVEXT_SEARCH_INTERNAL_HSP_H

// One alignment as an output prints it, turned into the reader's record; the
// XML and the tabular readers share it.

#include <norvext/search/QueryResult.h>
#include <norvext/search/SearchProgram.h>

#include <norvext/query/Summary.h>

#include <boost/shared_ptr.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

// What the program tells of the two sides; Either and unknown programs are
// resolved by what the output says (FASTA's "- 657 nt").
struct Sides {
    const SearchProgram* program = nullptr;
    // For a program whose sides are Either: what the query is, if said.
    std::optional<Molecule> either;

    // Either when neither the program nor the output tells.
    Molecule query() const;
    Molecule subject() const;
};

struct Hsp {
    std::string subjectSourceID;
    unsigned int subjectNumber = 0;
    std::optional<int> score;
    double eValue = 0.0;
    double bitScore = 0.0;
    // As printed: a minus strand may run from the higher position down, or
    // be told by a negative frame; 0 when the output has no range.
    unsigned int queryFrom = 0, queryTo = 0, subjectFrom = 0, subjectTo = 0;
    // As printed: a strand (+1, -1) or a frame (-3..3); 0 when not given.
    int queryFrame = 0, subjectFrame = 0;
    // The lengths of the two sequences, when the output says (the frame of
    // a minus strand counts from the end).
    unsigned int queryLength = 0;
    std::optional<unsigned int> subjectLength;
    // The alignment, when the output carries it: BTOP, both rows of
    // letters, or a CIGAR (taken the last of the three); empty otherwise.
    std::string_view btop, queryLetters, subjectLetters, cigar;
};

// BLAST's definition line of a query or subject: `text` trimmed; empty for
// BLAST's "No definition line".
std::string_view definitionOf(std::string_view text);

// The query's id and description from the id and definition line BLAST
// gives (docs/search.md, "One id rule"): the definition's first word for an
// id BLAST made up.
void nameQuery(std::string_view id, std::string_view definition, QueryResult& query);

// The subject's source id and number into `hsp`, the rest of its definition
// into `title` (docs/search.md, "One id rule").
void nameSubject(std::string_view id, std::string_view definition, Hsp& hsp, std::string& title);

// Sets in `alignment` what the Hsp tells: scores and ranges (ascending),
// strands and frames, the subject's length, the letters, and the segments
// of row 1, the ungapped blocks in query positions, ascending (one segment
// over the query range when the alignment's letters are not given or do
// not fill the range, as old BLAST's masked letters may not). `alignment`
// is a new one, filled where it lies in its query, with no copy; its counts
// are the caller's to set. Throws std::invalid_argument for an alignment it
// cannot read (a BTOP of bad syntax, rows of different lengths, blocks
// outside the query positions), `alignment` then half set.
void makeAlignment(const Hsp& hsp, const Sides& sides, AlignmentResult& alignment);

// The summary of the alignment's subject: its number, source id, `title`,
// and `database` as the database's name.
boost::shared_ptr<Norv::Summary> makeSubject(const Hsp& hsp, std::string_view title, const std::string& database);

}  // namespace internal
}  // namespace NorvSearch

#endif
