#include <norvext/catalogue/XBlastDBInfo.h>

#include <norvext/catalogue/internal/XBlastDBInfoFields.h>
#include <norvext/common/Dispatch.h>

namespace Norv {

XBlastDBInfo::XBlastDBInfo() : XBlastDBInfo(std::string(), std::string(), 0, 0, false) {}

XBlastDBInfo::XBlastDBInfo(const std::string& name, const std::string& description, unsigned int length,
                           unsigned int sequenceCount, bool isProtein)
    : DBInfo(name, description), m_length(length), m_sequenceCount(sequenceCount), m_isProtein(isProtein) {}

XBlastDBInfo::XBlastDBInfo(AlignedBuf& buf) : XBlastDBInfo() { read(buf); }

XBlastDBInfo::~XBlastDBInfo() = default;

void XBlastDBInfo::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void XBlastDBInfo::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "XBlastDBInfo"); }

void XBlastDBInfo::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void XBlastDBInfo::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
