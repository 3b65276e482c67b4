#ifndef NORVEXT_QUERY_INTERNAL_DBRANGETERMFIELDS_H
#define NORVEXT_QUERY_INTERNAL_DBRANGETERMFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/DBRangeTerm.h>

namespace Norv {
namespace internal {

template <>
struct FieldList<DBRangeTerm> {
    static constexpr auto s_fields =
        std::make_tuple(typeCode(2), field("field", &DBRangeTerm::m_field),
                        field("fieldName", &DBRangeTerm::m_fieldName), field("begin", &DBRangeTerm::m_start),
                        field("end", &DBRangeTerm::m_end));
};

}  // namespace internal
}  // namespace Norv

#endif
