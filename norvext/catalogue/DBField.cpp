#include <norvext/catalogue/DBField.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

namespace Norv {

DBField::DBField() : m_id(-1) {}

DBField::DBField(int id, const std::string& name, const std::string& description, const std::string& tag)
    : m_id(id), m_name(name), m_description(description), m_tag(tag) {}

DBField::DBField(AlignedBuf& buf) : DBField() { read(buf); }

DBField::~DBField() = default;

void DBField::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBField::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "DBField");
    trace("id", m_id);
    trace("name", m_name);
    trace("description", m_description);
    trace("tag", m_tag);
}

void DBField::write(AlignedBuf& buf) const {
    buf.put(static_cast<unsigned int>(m_id));
    internal::putString(buf, m_name);
    internal::putString(buf, m_description);
    internal::putString(buf, m_tag);
}

void DBField::read(AlignedBuf& buf) {
    buf.get(m_id);
    buf.get(m_name);
    buf.get(m_description);
    buf.get(m_tag);
}

}  // namespace Norv
