#ifndef NORVSEQ_ALIGNMENT_H
#define NORVSEQ_ALIGNMENT_H

#include <norvseq/AttrBase.h>
#include <norvseq/Export.h>
#include <norvseq/SeqAlign.h>
#include <norvseq/Sequence.h>

#include <norvext/common/VisitableBase.h>

#include <boost/shared_ptr.hpp>

#include <iosfwd>

namespace Norv {

// A pairwise alignment built from one SeqAlign record. Row 0 is the query,
// row 1 the subject; each row shares a sequence (initially none) and has a
// range (initially the record's query and subject ranges). Every operation
// that takes a row throws std::out_of_range for a row other than 0 or 1.
// Alignments are shared through boost::shared_ptr, never copied.
class NORVSEQ_API Alignment : public AttrBase, public Common::VisitableBase {
public:
    explicit Alignment(const SeqAlign& record);
    Alignment(const Alignment&) = delete;
    Alignment& operator=(const Alignment&) = delete;
    ~Alignment() override;

    // Writes an "Alignment" block: the record's scores and subject keys, and
    // each row's sequence name ("(null)" without one) and range.
    virtual void dump(std::ostream& os, int level) const;

    // Offers the alignment to Common::Visitor<Alignment>.
    void accept(Common::VisitorBase& visitor) override;

    boost::shared_ptr<Sequence> getSequence(unsigned int row) const;
    Sequence::Range getRange(unsigned int row) const;
    // The row then shares `sequence` and takes `range`.
    void setSequenceAndRange(const boost::shared_ptr<Sequence>& sequence, const Sequence::Range& range,
                             unsigned int row);
    // The row then shares `sequence`; its range stays.
    void assignSequence(const boost::shared_ptr<Sequence>& sequence, unsigned int row);

    // The record the alignment was made from.
    const SeqAlign& getSeqAlign() const { return m_record; }

private:
    static unsigned int checkRow(unsigned int row);

    SeqAlign m_record;
    boost::shared_ptr<Sequence> m_sequences[2];
    Sequence::Range m_ranges[2];
};

}  // namespace Norv

#endif
