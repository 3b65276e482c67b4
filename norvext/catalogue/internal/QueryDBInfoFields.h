#ifndef NORVEXT_CATALOGUE_INTERNAL_QUERYDBINFOFIELDS_H
#define NORVEXT_CATALOGUE_INTERNAL_QUERYDBINFOFIELDS_H

#include <norvext/catalogue/QueryDBInfo.h>
#include <norvext/catalogue/internal/DBDatabaseFields.h>
#include <norvext/catalogue/internal/DBInfoFields.h>
#include <norvext/common/internal/FieldList.h>

namespace Norv {
namespace internal {

template <>
struct FieldList<QueryDBInfo> {
    static constexpr auto s_fields = std::make_tuple(base<DBInfo>(BaseDump::Nested), field("limit", &QueryDBInfo::m_limit),
                                                     children("info", &QueryDBInfo::m_info));
};

}  // namespace internal
}  // namespace Norv

#endif
