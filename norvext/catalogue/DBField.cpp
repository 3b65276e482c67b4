#include <norvext/catalogue/DBField.h>

#include <norvext/catalogue/internal/DBFieldFields.h>
#include <norvext/common/Dispatch.h>

namespace Norv {

DBField::DBField() : m_id(-1) {}

DBField::DBField(int id, const std::string& name, const std::string& description, const std::string& tag)
    : m_id(id), m_name(name), m_description(description), m_tag(tag) {}

DBField::DBField(AlignedBuf& buf) : DBField() { read(buf); }

DBField::~DBField() = default;

void DBField::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBField::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "DBField"); }

void DBField::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void DBField::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
