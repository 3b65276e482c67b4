#ifndef NORVEXT_COMMON_VISITABLEBASE_H
#define NORVEXT_COMMON_VISITABLEBASE_H

#include <norvext/common/Export.h>

namespace Common {

class VisitorBase;

/// Root of every data class. It holds nothing; copying it copies nothing.
class NORVCOMMON_VISIBLE VisitableBase {
public:
    /// Holds nothing.
    VisitableBase() = default;
    /// Copies nothing.
    VisitableBase(const VisitableBase&) = default;
    /// Assigns nothing.
    VisitableBase& operator=(const VisitableBase&) = default;
    virtual ~VisitableBase() = default;

    /// Calls the visitor's interface for the object's most derived class, and
    /// nothing else; a visitor without that interface is ignored.
    virtual void accept(VisitorBase& visitor) = 0;
};

}  // namespace Common

#endif
