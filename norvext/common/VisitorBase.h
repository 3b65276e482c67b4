#ifndef NORVEXT_COMMON_VISITORBASE_H
#define NORVEXT_COMMON_VISITORBASE_H

#include <norvext/common/Export.h>

namespace Common {

/// Root of every visitor. A concrete visitor derives from it and from one
/// Common::Visitor<T> per class T that it handles.
class NORVCOMMON_VISIBLE VisitorBase {
public:
    /// Holds nothing.
    VisitorBase() = default;
    /// Copies nothing.
    VisitorBase(const VisitorBase&) = default;
    /// Assigns nothing.
    VisitorBase& operator=(const VisitorBase&) = default;
    virtual ~VisitorBase() = default;
};

}  // namespace Common

#endif
