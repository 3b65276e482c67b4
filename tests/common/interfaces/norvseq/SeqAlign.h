#ifndef NORVSEQ_SEQALIGN_H
#define NORVSEQ_SEQALIGN_H

// What NorvExt may ask of a raw alignment record, which it takes by value or
// reference: the subject's keys, the scores and the line segments of a row.

#include <string>
#include <utility>
#include <vector>

namespace Norv {

class SeqAlign {
public:
    typedef std::vector<std::pair<int, int>> Segments;

    SeqAlign(const SeqAlign&);
    SeqAlign& operator=(const SeqAlign&);
    ~SeqAlign();

    unsigned int getSubjectID() const;
    int getScore() const;
    double getEValue() const;
    double getBitScore() const;
    const std::string& getSubjectSourceID() const;

    bool getLineSegs(Segments& out, unsigned int row, bool merge, bool translated) const;
};

}  // namespace Norv

#endif
