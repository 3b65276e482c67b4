#ifndef NORVEXT_QUERY_INTERNAL_DBSTRINGTERMFIELDS_H
#define NORVEXT_QUERY_INTERNAL_DBSTRINGTERMFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/DBStringTerm.h>
#include <norvext/query/internal/TermFields.h>

namespace Norv {
namespace internal {

// A comparison value outside the enumeration is dropped on reading: the
// term keeps the one it had.
template <>
struct FieldList<DBStringTerm> {
    static constexpr auto s_fields = std::tuple_cat(
        std::make_tuple(typeCode(1)), testedField(&DBStringTerm::m_field, &DBStringTerm::m_fieldName),
        std::make_tuple(field("query", &DBStringTerm::m_query),
                        field("compare", &DBStringTerm::m_compare,
                              Named<DBTerm::Compare>{&DBTerm::compName, DBTerm::EQ, DBTerm::LIKE, nullptr})));
};

}  // namespace internal
}  // namespace Norv

#endif
