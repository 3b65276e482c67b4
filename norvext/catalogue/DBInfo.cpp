#include <norvext/catalogue/DBInfo.h>

#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

namespace Norv {

DBInfo::DBInfo() = default;

DBInfo::DBInfo(const std::string& name) : m_name(name) {}

DBInfo::DBInfo(const std::string& name, const std::string& description) : m_name(name), m_description(description) {}

DBInfo::~DBInfo() = default;

void DBInfo::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "DBInfo");
    trace("name", m_name);
    trace("description", m_description);
}

void DBInfo::write(AlignedBuf& buf) const {
    internal::putString(buf, m_name);
    internal::putString(buf, m_description);
}

void DBInfo::read(AlignedBuf& buf) {
    buf.get(m_name);
    buf.get(m_description);
}

}  // namespace Norv
