#ifndef NORVSEQ_SEQALIGN_H
#define NORVSEQ_SEQALIGN_H

#include <norvseq/Export.h>
#include <norvseq/Sequence.h>

#include <string>
#include <utility>
#include <vector>

namespace Norv {

/// One raw pairwise alignment record as a search delivers it: the subject it
/// matched, its scores, the aligned ranges of query and subject, and the line
/// segments of each row for drawing.
class NORVSEQ_API SeqAlign {
public:
    /// The line segments of one row, each a pair of positions (from, to).
    typedef std::vector<std::pair<int, int>> Segments;

    /// Subject id 0, scores 0, empty source id, ranges {0, 0}, no segments.
    SeqAlign();

    /// The numeric id of the subject matched.
    unsigned int getSubjectID() const { return m_subjectID; }
    /// Replaces the subject id.
    void setSubjectID(unsigned int id) { m_subjectID = id; }
    /// The raw score.
    int getScore() const { return m_score; }
    /// Replaces the raw score.
    void setScore(int score) { m_score = score; }
    /// The expectation value.
    double getEValue() const { return m_eValue; }
    /// Replaces the expectation value.
    void setEValue(double value) { m_eValue = value; }
    /// The bit score.
    double getBitScore() const { return m_bitScore; }
    /// Replaces the bit score.
    void setBitScore(double value) { m_bitScore = value; }
    /// The subject's source id text.
    const std::string& getSubjectSourceID() const { return m_subjectSourceID; }
    /// Replaces the subject's source id.
    void setSubjectSourceID(const std::string& id) { m_subjectSourceID = id; }
    /// The aligned range of the query.
    const Sequence::Range& getQueryRange() const { return m_queryRange; }
    /// Replaces the query range.
    void setQueryRange(const Sequence::Range& range) { m_queryRange = range; }
    /// The aligned range of the subject.
    const Sequence::Range& getSubjectRange() const { return m_subjectRange; }
    /// Replaces the subject range.
    void setSubjectRange(const Sequence::Range& range) { m_subjectRange = range; }

    /// Stores the segments of row 0 (query) or row 1 (subject); other rows are
    /// ignored.
    void setLineSegs(unsigned int row, Segments segments);

    /// Replaces `out` with the segments stored for `row`, each a pair of
    /// positions (from, to). With `merge` set, segments that touch or overlap
    /// are joined into one, in stored order. With `translated` set, the
    /// positions are scaled from letters to codons' nucleotide positions
    /// (times 3). Returns false, leaving `out` empty, for a row other than 0
    /// or 1.
    bool getLineSegs(Segments& out, unsigned int row, bool merge, bool translated) const;

private:
    unsigned int m_subjectID;
    int m_score;
    double m_eValue;
    double m_bitScore;
    std::string m_subjectSourceID;
    Sequence::Range m_queryRange;
    Sequence::Range m_subjectRange;
    Segments m_segments[2];
};

}  // namespace Norv

#endif
