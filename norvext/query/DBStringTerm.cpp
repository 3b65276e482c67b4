#include <norvext/query/DBStringTerm.h>

#include <norvext/common/Dispatch.h>
#include <norvext/query/internal/DBStringTermFields.h>

namespace Norv {

DBStringTerm::DBStringTerm() : DBStringTerm(-1, std::string(), EQ) {}

DBStringTerm::DBStringTerm(int field, const std::string& query, Compare compare)
    : m_field(field), m_query(query), m_compare(compare) {}

DBStringTerm::DBStringTerm(const std::string& fieldName, const std::string& query, Compare compare)
    : DBStringTerm(-1, query, compare) {
    setFieldName(fieldName);
}

DBStringTerm::~DBStringTerm() = default;

void DBStringTerm::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBStringTerm::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "DBStringTerm"); }

void DBStringTerm::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void DBStringTerm::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
