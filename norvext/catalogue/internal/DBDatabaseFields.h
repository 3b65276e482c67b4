#ifndef NORVEXT_CATALOGUE_INTERNAL_DBDATABASEFIELDS_H
#define NORVEXT_CATALOGUE_INTERNAL_DBDATABASEFIELDS_H

#include <norvext/catalogue/DBDatabase.h>
#include <norvext/catalogue/internal/DBFieldFields.h>
#include <norvext/catalogue/internal/DBInfoFields.h>
#include <norvext/common/internal/FieldList.h>

namespace Norv {
namespace internal {

// The tag travels but has never been part of the dump.
template <>
struct FieldList<DBDatabase> {
    static constexpr auto s_fields =
        std::make_tuple(base<DBInfo>(BaseDump::Level), field("id", &DBDatabase::m_id),
                        field("tag", &DBDatabase::m_tag).undumped(), children("fields", &DBDatabase::m_fields));
};

}  // namespace internal
}  // namespace Norv

#endif
