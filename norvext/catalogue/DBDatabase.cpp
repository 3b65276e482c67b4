#include <norvext/catalogue/DBDatabase.h>

#include <norvext/catalogue/internal/DBDatabaseFields.h>
#include <norvext/common/Dispatch.h>

#include <algorithm>

namespace Norv {

DBDatabase::DBDatabase() : m_id(-1) {}

DBDatabase::DBDatabase(int id, const std::string& name, const std::string& description, const std::string& tag)
    : DBInfo(name, description), m_id(id), m_tag(tag) {}

DBDatabase::DBDatabase(AlignedBuf& buf) : DBDatabase() { read(buf); }

DBDatabase::~DBDatabase() = default;

void DBDatabase::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBDatabase::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "DBDatabase"); }

void DBDatabase::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void DBDatabase::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

void DBDatabase::assign(const Fields& fields) { m_fields = fields; }

void DBDatabase::add(const DBField& field) { m_fields.push_back(field); }

DBDatabase::const_iterator DBDatabase::findID(int id) const {
    return std::find_if(m_fields.begin(), m_fields.end(), [id](const DBField& f) { return f.getID() == id; });
}

DBDatabase::const_iterator DBDatabase::findName(const std::string& name) const {
    return std::find_if(m_fields.begin(), m_fields.end(), [&name](const DBField& f) { return f.getName() == name; });
}

DBDatabase::const_iterator DBDatabase::findTag(const std::string& tag) const {
    return std::find_if(m_fields.begin(), m_fields.end(), [&tag](const DBField& f) { return f.getTag() == tag; });
}

}  // namespace Norv
