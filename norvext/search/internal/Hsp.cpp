#include "Hsp.h"

#include "Blocks.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <stdexcept>

namespace NorvSearch {
namespace internal {
namespace {

Blocks alignmentBlocks(const Hsp& hsp, const QueryWalk& walk) {
    return hsp.btop.empty() ? blocksFromLetters(hsp.queryLetters, hsp.subjectLetters, walk)
                            : blocksFromBtop(hsp.btop, walk);
}

}  // namespace

Norv::SeqAlign makeRecord(const Hsp& hsp) {
    Norv::SeqAlign record;
    record.setSubjectSourceID(hsp.subjectSourceID);
    record.setSubjectID(hsp.subjectNumber);
    record.setScore(hsp.score);
    record.setEValue(hsp.eValue);
    record.setBitScore(hsp.bitScore);
    record.setQueryRange(Norv::Sequence::Range(hsp.queryFrom, hsp.queryTo));
    record.setSubjectRange(Norv::Sequence::Range(hsp.subjectFrom, hsp.subjectTo));

    const unsigned int lower = std::min(hsp.queryFrom, hsp.queryTo);
    const unsigned int upper = std::max(hsp.queryFrom, hsp.queryTo);
    if (hsp.btop.empty() && (hsp.queryLetters.empty() || hsp.subjectLetters.empty())) {
        record.setLineSegs(1, {{static_cast<int>(lower), static_cast<int>(upper)}});
        return record;
    }
    const int direction = hsp.queryFrom > hsp.queryTo || hsp.queryFrame < 0 ? -1 : 1;
    QueryWalk walk{direction > 0 ? static_cast<long>(lower) : static_cast<long>(upper), direction,
                   hsp.step == 0 ? 1 : hsp.step};
    const unsigned long span = upper - lower + 1UL;
    Blocks blocks = alignmentBlocks(hsp, walk);
    if (hsp.step == 0 && blocks.queryLetters * 3 == span) {
        walk.step = 3;
        blocks = alignmentBlocks(hsp, walk);
    }
    if (static_cast<long>(blocks.queryLetters) * walk.step + blocks.frameshift != static_cast<long>(span)) {
        throw std::invalid_argument("the alignment holds " + std::to_string(blocks.queryLetters) +
                                    " query letters, which do not fill the query range " +
                                    std::to_string(hsp.queryFrom) + ".." + std::to_string(hsp.queryTo));
    }
    record.setLineSegs(1, std::move(blocks.segments));
    return record;
}

boost::shared_ptr<Norv::Summary> makeSubject(const Hsp& hsp, const std::string& title, const std::string& database) {
    auto summary = boost::make_shared<Norv::Summary>();
    summary->setID(hsp.subjectNumber);
    summary->setSourceID(hsp.subjectSourceID);
    summary->setTitle(title);
    summary->setDBName(database);
    return summary;
}

}  // namespace internal
}  // namespace NorvSearch
