#ifndef NORVEXT_QUERY_INTERNAL_DBRANGETERMFIELDS_H
#define NORVEXT_QUERY_INTERNAL_DBRANGETERMFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/DBRangeTerm.h>
#include <norvext/query/internal/TermFields.h>

namespace Norv {
namespace internal {

template <>
struct FieldList<DBRangeTerm> {
    static constexpr auto s_fields = std::tuple_cat(
        std::make_tuple(typeCode(2)), testedField(&DBRangeTerm::m_field, &DBRangeTerm::m_fieldName),
        std::make_tuple(field("begin", &DBRangeTerm::m_start), field("end", &DBRangeTerm::m_end)));
};

}  // namespace internal
}  // namespace Norv

#endif
