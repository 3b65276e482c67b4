#ifndef NORVEXT_COMMON_INTERNAL_DISPATCH_H
#define NORVEXT_COMMON_INTERNAL_DISPATCH_H

#include <norvext/common/Visitor.h>
#include <norvext/common/VisitorBase.h>

namespace Common {
namespace internal {

// The body of every accept(): offer `object` to the visitor's interface for
// T if it has one, otherwise do nothing.
template <class T>
inline void dispatch(T& object, VisitorBase& visitor) {
    if (Visitor<T>* typed = dynamic_cast<Visitor<T>*>(&visitor)) {
        typed->visit(object);
    }
}

}  // namespace internal
}  // namespace Common

#endif
