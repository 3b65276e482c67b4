#include <norvext/query/DBRangeTerm.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

namespace Norv {

namespace {
// Type code in front of a persisted range term.
const unsigned int kTypeCode = 2;
}  // namespace

DBRangeTerm::DBRangeTerm() : m_field(-1) {}

DBRangeTerm::DBRangeTerm(int field, const std::string& start, const std::string& end)
    : m_field(field), m_start(start), m_end(end) {}

DBRangeTerm::DBRangeTerm(const std::string& fieldName, const std::string& start, const std::string& end)
    : m_field(-1), m_fieldName(fieldName), m_start(start), m_end(end) {}

DBRangeTerm::~DBRangeTerm() = default;

void DBRangeTerm::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBRangeTerm::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "DBRangeTerm");
    trace("field", m_field);
    trace("fieldName", m_fieldName);
    trace("begin", m_start);
    trace("end", m_end);
}

void DBRangeTerm::write(AlignedBuf& buf) const {
    buf.put(kTypeCode);
    buf.put(static_cast<unsigned int>(m_field));
    internal::putString(buf, m_fieldName);
    internal::putString(buf, m_start);
    internal::putString(buf, m_end);
}

void DBRangeTerm::read(AlignedBuf& buf) {
    buf.get(m_field);
    buf.get(m_fieldName);
    buf.get(m_start);
    buf.get(m_end);
}

}  // namespace Norv
