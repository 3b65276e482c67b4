#include <norvext/catalogue/DBDatabase.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

#include <algorithm>

namespace Norv {

DBDatabase::DBDatabase() : m_id(-1) {}

DBDatabase::DBDatabase(int id, const std::string& name, const std::string& description, const std::string& tag)
    : DBInfo(name, description), m_id(id), m_tag(tag) {}

DBDatabase::DBDatabase(AlignedBuf& buf) : DBDatabase() { read(buf); }

DBDatabase::~DBDatabase() = default;

void DBDatabase::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBDatabase::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "DBDatabase");
    DBInfo::dump(os, level);
    trace("id", m_id);
    for (const DBField& field : m_fields) {
        field.dump(os, trace.nestedIndent());
    }
}

void DBDatabase::write(AlignedBuf& buf) const {
    DBInfo::write(buf);
    buf.put(static_cast<unsigned int>(m_id));
    internal::putString(buf, m_tag);
    internal::writeElements(buf, m_fields, [&buf](const DBField& field) { field.write(buf); });
}

void DBDatabase::read(AlignedBuf& buf) {
    DBInfo::read(buf);
    buf.get(m_id);
    buf.get(m_tag);
    Fields fields;
    internal::readElements(buf, fields, [](AlignedBuf& in) { return DBField(in); });
    m_fields.swap(fields);
}

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
