#ifndef NORVEXT_QUERY_INTERNAL_DBQUERYFIELDS_H
#define NORVEXT_QUERY_INTERNAL_DBQUERYFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/DBQuery.h>
#include <norvext/query/Summary.h>
#include <norvext/query/internal/TermFields.h>

namespace Norv {
namespace internal {

// The database ids travel and show as the databases text (JSON holds them
// as numbers); the ids read and the hits read are appended to those held.
template <>
struct FieldList<DBQuery> {
    static constexpr auto s_fields = std::make_tuple(
        textForm("database", &DBQuery::m_databases, &DBQuery::getDatabasesStr, &DBQuery::setDatabasesStr)
            .json("databases"),
        field("hitCount", &DBQuery::m_hitCount),
        field("dbSource", &DBQuery::m_dbSource),
        field("dbName", &DBQuery::m_dbName),
        field("wildcard", &DBQuery::m_wildcard),
        child("term", &DBQuery::m_term),
        appendedChildren("hits", &DBQuery::m_hits));
};

}  // namespace internal
}  // namespace Norv

#endif
