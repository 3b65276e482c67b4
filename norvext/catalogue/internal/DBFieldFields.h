#ifndef NORVEXT_CATALOGUE_INTERNAL_DBFIELDFIELDS_H
#define NORVEXT_CATALOGUE_INTERNAL_DBFIELDFIELDS_H

#include <norvext/catalogue/DBField.h>
#include <norvext/common/internal/FieldList.h>

namespace Norv {
namespace internal {

template <>
struct FieldList<DBField> {
    static constexpr auto s_fields =
        std::make_tuple(field("id", &DBField::m_id), field("name", &DBField::m_name),
                        field("description", &DBField::m_description), field("tag", &DBField::m_tag));
};

}  // namespace internal
}  // namespace Norv

#endif
