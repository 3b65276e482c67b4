#ifndef NORVSEQ_ATTRBASE_H
#define NORVSEQ_ATTRBASE_H

#include <norvseq/Export.h>

#include <boost/enable_shared_from_this.hpp>

namespace Norv {

// Base of NorvSeq's shared objects: it links an object to the shared_ptr
// that owns it.
class NORVSEQ_API AttrBase : public boost::enable_shared_from_this<AttrBase> {
public:
    AttrBase();
    AttrBase(const AttrBase&) = delete;
    AttrBase& operator=(const AttrBase&) = delete;
    virtual ~AttrBase();
};

}  // namespace Norv

#endif
