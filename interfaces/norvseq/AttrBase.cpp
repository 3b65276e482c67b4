#include <norvseq/AttrBase.h>

namespace Norv {

AttrBase::AttrBase() = default;
// A copy is a new object: it does not take over the source's owner link.
AttrBase::AttrBase(const AttrBase&) : boost::enable_shared_from_this<AttrBase>() {}
AttrBase& AttrBase::operator=(const AttrBase&) { return *this; }
AttrBase::~AttrBase() = default;

}  // namespace Norv
