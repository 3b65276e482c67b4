#ifndef NORVSEQ_ATTRBASE_H
#define NORVSEQ_ATTRBASE_H

// The base that links an alignment to the shared pointer owning it; NorvExt
// asks nothing of it.

#include <boost/enable_shared_from_this.hpp>

namespace Norv {

class AttrBase : public boost::enable_shared_from_this<AttrBase> {
public:
    virtual ~AttrBase();

protected:
    AttrBase();
};

}  // namespace Norv

#endif
