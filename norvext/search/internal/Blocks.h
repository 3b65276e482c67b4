#ifndef NORVEXT_SEARCH_INTERNAL_BLOCKS_H
#define NORVEXT_SEARCH_INTERNAL_BLOCKS_H

// The ungapped blocks of an alignment in query positions, from its aligned
// letters, its BTOP or its CIGAR. Both throw std::invalid_argument for an
// alignment they cannot read.

#include <norvseq/SeqAlign.h>

#include <string_view>

namespace NorvSearch {
namespace internal {

// How the query runs along an alignment: its first aligned position, +1 or
// -1 (a minus strand or frame), and the positions per letter (3 for a
// translated query, else 1).
struct QueryWalk {
    long first;
    int direction;
    int step;
};

// The blocks as (lower, upper) pairs, ascending and apart; the number of
// query letters that the alignment holds (gapped or not); and the net
// nucleotides of its frameshifts (FASTX's '\\' skips one, '/' steps back one).
struct Blocks {
    Norv::SeqAlign::Segments segments;
    unsigned long queryLetters = 0;
    long frameshift = 0;
};

// From the aligned query and subject letters, '-' for a gap, '/' and '\\' in
// the query for a frameshift; their lengths must agree.
Blocks blocksFromLetters(std::string_view query, std::string_view subject, const QueryWalk& walk);

// From a BTOP string: a number counts identical columns, a pair of letters is
// one column (query letter first), '-' in a pair a gap.
Blocks blocksFromBtop(std::string_view btop, const QueryWalk& walk);

// From a CIGAR string (DIAMOND's and MMseqs2's): runs of a count and an
// operation, M (or = and X) aligned columns, I query letters against gaps,
// D subject letters against gaps.
Blocks blocksFromCigar(std::string_view cigar, const QueryWalk& walk);

}  // namespace internal
}  // namespace NorvSearch

#endif
