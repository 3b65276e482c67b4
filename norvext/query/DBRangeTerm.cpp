#include <norvext/query/DBRangeTerm.h>

#include <norvext/common/Dispatch.h>
#include <norvext/query/internal/DBRangeTermFields.h>

namespace Norv {

DBRangeTerm::DBRangeTerm() : DBRangeTerm(-1, std::string(), std::string()) {}

DBRangeTerm::DBRangeTerm(int field, const std::string& start, const std::string& end)
    : m_field(field), m_start(start), m_end(end) {}

DBRangeTerm::DBRangeTerm(const std::string& fieldName, const std::string& start, const std::string& end)
    : DBRangeTerm(-1, start, end) {
    setFieldName(fieldName);
}

DBRangeTerm::~DBRangeTerm() = default;

void DBRangeTerm::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBRangeTerm::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "DBRangeTerm"); }

void DBRangeTerm::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void DBRangeTerm::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
