#ifndef NORVSEQ_ATTRBASE_H
#define NORVSEQ_ATTRBASE_H

#include <norvseq/Export.h>

#include <boost/enable_shared_from_this.hpp>

namespace Norv {

/// Base of NorvSeq's shared objects: it links an object to the shared_ptr
/// that owns it.
class NORVSEQ_API AttrBase : public boost::enable_shared_from_this<AttrBase> {
public:
    /// Not owned yet: shared_from_this() throws boost::bad_weak_ptr until a
    /// boost::shared_ptr takes the object.
    AttrBase();
    /// A copy is a new object: it does not take over the source's owner link.
    AttrBase(const AttrBase&);
    /// Does nothing: each object keeps its own owner link.
    AttrBase& operator=(const AttrBase&);
    virtual ~AttrBase();
};

}  // namespace Norv

#endif
