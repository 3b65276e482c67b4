#ifndef NORVSEQ_ALIGNMENT_H
#define NORVSEQ_ALIGNMENT_H

// What NorvExt may ask of an alignment, which it holds only through a shared
// pointer: making one from a record, its rows' sequences and ranges, its
// record, its dump and its destruction. The other virtual operations are in
// its table but not NorvExt's to call.

#include <norvseq/AttrBase.h>
#include <norvseq/SeqAlign.h>
#include <norvseq/Sequence.h>

#include <norvext/common/VisitableBase.h>

#include <boost/shared_ptr.hpp>

#include <iosfwd>

namespace Norv {

class Alignment : public AttrBase, public Common::VisitableBase {
public:
    explicit Alignment(const SeqAlign& record);
    Alignment(const Alignment&) = delete;
    Alignment& operator=(const Alignment&) = delete;
    ~Alignment() override;

    virtual void dump(std::ostream& os, int level) const;

    boost::shared_ptr<Sequence> getSequence(unsigned int row) const;
    Sequence::Range getRange(unsigned int row) const;
    void setSequenceAndRange(const boost::shared_ptr<Sequence>& sequence, const Sequence::Range& range,
                             unsigned int row);
    void assignSequence(const boost::shared_ptr<Sequence>& sequence, unsigned int row);

    const SeqAlign& getSeqAlign() const;

private:
    virtual void write(std::ostream& os) const;
    virtual void read(std::istream& is);
    virtual boost::shared_ptr<Alignment> clone() const;
    virtual void insertAlignment(const Alignment& other, unsigned int row);
    void accept(Common::VisitorBase& visitor) override;
};

}  // namespace Norv

#endif
