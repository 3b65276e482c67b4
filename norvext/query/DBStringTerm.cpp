#include <norvext/query/DBStringTerm.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

namespace Norv {

namespace {
// Type code in front of a persisted string term.
const unsigned int kTypeCode = 1;
}  // namespace

DBStringTerm::DBStringTerm() : m_field(-1), m_compare(EQ) {}

DBStringTerm::DBStringTerm(int field, const std::string& query, Compare compare)
    : m_field(field), m_query(query), m_compare(compare) {}

DBStringTerm::DBStringTerm(const std::string& fieldName, const std::string& query, Compare compare)
    : m_field(-1), m_fieldName(fieldName), m_query(query), m_compare(compare) {}

DBStringTerm::~DBStringTerm() = default;

void DBStringTerm::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBStringTerm::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "DBStringTerm");
    trace("field", m_field);
    trace("fieldName", m_fieldName);
    trace("query", m_query);
    trace("compare", compName(m_compare));
}

void DBStringTerm::write(AlignedBuf& buf) const {
    buf.put(kTypeCode);
    buf.put(static_cast<unsigned int>(m_field));
    internal::putString(buf, m_fieldName);
    internal::putString(buf, m_query);
    buf.put(static_cast<unsigned int>(m_compare));
}

void DBStringTerm::read(AlignedBuf& buf) {
    buf.get(m_field);
    buf.get(m_fieldName);
    buf.get(m_query);
    int compare = 0;
    buf.get(compare);
    // A value that names no comparison is dropped rather than stored.
    if (compare >= EQ && compare <= LIKE) {
        m_compare = static_cast<Compare>(compare);
    }
}

}  // namespace Norv
