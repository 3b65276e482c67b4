#ifndef NORVEXT_COMMON_DISPATCH_H
#define NORVEXT_COMMON_DISPATCH_H

#include <norvext/common/Visitor.h>
#include <norvext/common/VisitorBase.h>

namespace Common {

/// The body of every accept(), in this library and in any other that makes a
/// class visitable: offers `object` to the visitor's interface for T if the
/// visitor has one, and otherwise does nothing. Throws only what visit()
/// throws.
template <class T>
inline void dispatch(T& object, VisitorBase& visitor) {
    if (Visitor<T>* typed = dynamic_cast<Visitor<T>*>(&visitor)) {
        typed->visit(object);
    }
}

}  // namespace Common

#endif
