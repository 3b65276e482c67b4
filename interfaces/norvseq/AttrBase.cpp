#include <norvseq/AttrBase.h>

namespace Norv {

AttrBase::AttrBase() = default;
AttrBase::~AttrBase() = default;

}  // namespace Norv
