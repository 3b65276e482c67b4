#ifndef NORVEXT_CATALOGUE_INTERNAL_XBLASTDBINFOFIELDS_H
#define NORVEXT_CATALOGUE_INTERNAL_XBLASTDBINFOFIELDS_H

#include <norvext/catalogue/XBlastDBInfo.h>
#include <norvext/catalogue/internal/DBInfoFields.h>
#include <norvext/common/internal/FieldList.h>

namespace Norv {
namespace internal {

template <>
struct FieldList<XBlastDBInfo> {
    static constexpr auto s_fields =
        std::make_tuple(base<DBInfo>(BaseDump::Level), field("length", &XBlastDBInfo::m_length),
                        field("sequenceCount", &XBlastDBInfo::m_sequenceCount),
                        field("isProtein", &XBlastDBInfo::m_isProtein));
};

}  // namespace internal
}  // namespace Norv

#endif
