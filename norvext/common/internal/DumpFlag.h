#ifndef NORVEXT_COMMON_INTERNAL_DUMPFLAG_H
#define NORVEXT_COMMON_INTERNAL_DUMPFLAG_H

namespace Norv {
namespace internal {

// The dump text of a flag.
inline const char* flagText(bool value) { return value ? "true" : "false"; }

}  // namespace internal
}  // namespace Norv

#endif
