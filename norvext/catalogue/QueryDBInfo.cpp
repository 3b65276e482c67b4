#include <norvext/catalogue/QueryDBInfo.h>

#include <norvext/catalogue/internal/QueryDBInfoFields.h>
#include <norvext/common/Dispatch.h>

#include <algorithm>

namespace Norv {

QueryDBInfo::QueryDBInfo() : m_limit(0) {}

QueryDBInfo::QueryDBInfo(const std::string& name, unsigned int limit) : DBInfo(name), m_limit(limit) {}

QueryDBInfo::~QueryDBInfo() = default;

void QueryDBInfo::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void QueryDBInfo::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "QueryDBInfo"); }

void QueryDBInfo::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void QueryDBInfo::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

void QueryDBInfo::add(const DBDatabase& database) { m_info.push_back(database); }

QueryDBInfo::const_iterator QueryDBInfo::findInfo(int id) const {
    return std::find_if(m_info.begin(), m_info.end(), [id](const DBDatabase& d) { return d.getID() == id; });
}

QueryDBInfo::const_iterator QueryDBInfo::findInfo(const std::string& name) const {
    return std::find_if(m_info.begin(), m_info.end(), [&name](const DBDatabase& d) { return d.getName() == name; });
}

QueryDBInfo::const_iterator QueryDBInfo::findTag(const std::string& tag) const {
    return std::find_if(m_info.begin(), m_info.end(), [&tag](const DBDatabase& d) { return d.getTag() == tag; });
}

}  // namespace Norv
