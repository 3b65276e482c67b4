#ifndef NORVEXT_QUERY_INTERNAL_SUMMARYFIELDS_H
#define NORVEXT_QUERY_INTERNAL_SUMMARYFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/Summary.h>

namespace Norv {
namespace internal {

// The numbers first, then the texts (the text form of SummaryText relies on
// that order).
template <>
struct FieldList<Summary> {
    static constexpr auto s_fields = std::make_tuple(
        field("database", &Summary::m_database),
        field("id", &Summary::m_id),
        field("option", &Summary::m_option),
        field("initN", &Summary::m_initN),
        field("init1", &Summary::m_init1),
        field("dbName", &Summary::m_dbName),
        field("sourceDB", &Summary::m_sourceDB),
        field("sourceID", &Summary::m_sourceID),
        field("title", &Summary::m_title),
        field("caption", &Summary::m_caption),
        field("extra", &Summary::m_extra));
};

}  // namespace internal
}  // namespace Norv

#endif
