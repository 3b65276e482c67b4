#include <norvext/catalogue/DBInfo.h>

#include <norvext/catalogue/internal/DBInfoFields.h>

namespace Norv {

DBInfo::DBInfo() = default;

DBInfo::DBInfo(const std::string& name) : m_name(name) {}

DBInfo::DBInfo(const std::string& name, const std::string& description) : m_name(name), m_description(description) {}

DBInfo::~DBInfo() = default;

void DBInfo::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "DBInfo"); }

void DBInfo::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void DBInfo::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
