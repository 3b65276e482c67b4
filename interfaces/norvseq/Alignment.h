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

/// A pairwise alignment built from one SeqAlign record. Row 0 is the query,
/// row 1 the subject; each row shares a sequence (initially none) and has a
/// range (initially the record's query and subject ranges). Every operation
/// that takes a row throws std::out_of_range for a row other than 0 or 1.
class NORVSEQ_API Alignment : public AttrBase, public Common::VisitableBase {
public:
    /// A copy of `record`, without sequences, with the record's query and
    /// subject ranges as the ranges of rows 0 and 1.
    explicit Alignment(const SeqAlign& record);
    /// Copies the record and the ranges and shares the sequences; the copy has
    /// an owner link of its own (AttrBase).
    Alignment(const Alignment& other);
    /// Takes the record and ranges of `other` and shares its sequences; the
    /// owner link stays.
    Alignment& operator=(const Alignment& other);
    ~Alignment() override;

    /// Writes an "Alignment" block: the record's scores and subject keys, and
    /// each row's sequence name ("(null)" without one) and range.
    virtual void dump(std::ostream& os, int level) const;
    /** @{ */
    /// Text form of the record and the two ranges (sequences are not part of
    /// it); read() takes back what write() produced and leaves the stream
    /// failed, and the alignment unchanged, on malformed text.
    virtual void write(std::ostream& os) const;
    virtual void read(std::istream& is);
    /** @} */
    /// A new alignment with the same record, sequences and ranges.
    virtual boost::shared_ptr<Alignment> clone() const;
    /// Takes `row`'s sequence and range from `other`.
    virtual void insertAlignment(const Alignment& other, unsigned int row);

    /// Offers the alignment to Common::Visitor<Alignment>.
    void accept(Common::VisitorBase& visitor) override;

    /// The sequence of `row`, shared; null when none is set.
    boost::shared_ptr<Sequence> getSequence(unsigned int row) const;
    /// The range of `row`.
    Sequence::Range getRange(unsigned int row) const;
    /// The row then shares `sequence` and takes `range`.
    void setSequenceAndRange(const boost::shared_ptr<Sequence>& sequence, const Sequence::Range& range,
                             unsigned int row);
    /// The row then shares `sequence`; its range stays.
    void assignSequence(const boost::shared_ptr<Sequence>& sequence, unsigned int row);

    /// The record the alignment was made from.
    const SeqAlign& getSeqAlign() const { return m_record; }

private:
    static unsigned int checkRow(unsigned int row);

    SeqAlign m_record;
    boost::shared_ptr<Sequence> m_sequences[2];
    Sequence::Range m_ranges[2];
};

}  // namespace Norv

#endif
