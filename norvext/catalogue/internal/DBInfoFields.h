#ifndef NORVEXT_CATALOGUE_INTERNAL_DBINFOFIELDS_H
#define NORVEXT_CATALOGUE_INTERNAL_DBINFOFIELDS_H

#include <norvext/catalogue/DBInfo.h>
#include <norvext/common/internal/FieldList.h>

namespace Norv {
namespace internal {

// The first part of every database description.
template <>
struct FieldList<DBInfo> {
    static constexpr auto s_fields =
        std::make_tuple(field("name", &DBInfo::m_name), field("description", &DBInfo::m_description));
};

}  // namespace internal
}  // namespace Norv

#endif
