#ifndef NORVEXT_SEARCH_INTERNAL_HSP_H
#define NORVEXT_SEARCH_INTERNAL_HSP_H

// One alignment as an output prints it, turned into a SeqAlign record; the
// XML and the tabular readers share it.

#include <norvext/query/Summary.h>

#include <norvseq/SeqAlign.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

struct Hsp {
    std::string subjectSourceID;
    unsigned int subjectNumber = 0;
    int score = 0;
    double eValue = 0.0;
    double bitScore = 0.0;
    unsigned int queryFrom = 0, queryTo = 0, subjectFrom = 0, subjectTo = 0;
    // Below 0 on a minus frame of the query (XML prints such ranges in
    // ascending order); 0 when not known.
    int queryFrame = 0;
    // Query positions per letter: 3 for a translated query, 1 otherwise, 0
    // when the program is not known (then taken from the range's length).
    int step = 0;
    // The alignment, when the output carries it: BTOP, or both rows of
    // letters; empty otherwise.
    std::string_view btop, queryLetters, subjectLetters;
};

// The record: subject, scores and ranges as given; the segments of row 1 are
// the alignment's ungapped blocks in query positions, ascending (one segment
// over the query range when the output carries no alignment). Throws
// std::invalid_argument when the alignment does not fit the query range.
Norv::SeqAlign makeRecord(const Hsp& hsp);

// The summary of the alignment's subject: its number, source id, `title`,
// and `database` as the database's name.
boost::shared_ptr<Norv::Summary> makeSubject(const Hsp& hsp, const std::string& title, const std::string& database);

}  // namespace internal
}  // namespace NorvSearch

#endif
