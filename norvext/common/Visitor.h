#ifndef NORVEXT_COMMON_VISITOR_H
#define NORVEXT_COMMON_VISITOR_H

#include <norvext/common/Export.h>
#include <norvext/common/VisitorBase.h>

namespace Common {

/// The visitor interface for one concrete class T. It stands alone (it does
/// not derive from VisitorBase); accept() reaches it from a VisitorBase& by a
/// run-time cross-cast, which succeeds exactly when the visitor derives from
/// both.
template <class T>
class NORVCOMMON_VISIBLE Visitor {
public:
    virtual ~Visitor() = default;
    /// Called by the accept() of `object` with the object itself; what it
    /// throws passes out of accept().
    virtual void visit(T& object) = 0;

protected:
    /// Only a concrete visitor makes one; it holds nothing.
    Visitor() = default;
    /// Copies nothing.
    Visitor(const Visitor&) = default;
    /// Assigns nothing.
    Visitor& operator=(const Visitor&) = default;
};

}  // namespace Common

#endif
