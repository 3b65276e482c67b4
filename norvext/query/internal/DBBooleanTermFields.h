#ifndef NORVEXT_QUERY_INTERNAL_DBBOOLEANTERMFIELDS_H
#define NORVEXT_QUERY_INTERNAL_DBBOOLEANTERMFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/internal/TermFields.h>

namespace Norv {
namespace internal {

// An operator value outside the enumeration refuses the whole read. The
// children read are appended to those the term holds.
template <>
struct FieldList<DBBooleanTerm> {
    static constexpr auto s_fields =
        std::make_tuple(typeCode(3),
                        field("op", &DBBooleanTerm::m_op,
                              Named<DBBooleanTerm::Op>{&DBBooleanTerm::opName, DBBooleanTerm::AND, DBBooleanTerm::NOT,
                                                       "DBBooleanTerm::read: Invalid opcode: "}),
                        appendedChildren("terms", &DBBooleanTerm::m_terms));
};

}  // namespace internal
}  // namespace Norv

#endif
