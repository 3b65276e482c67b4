#include <norvext/catalogue/XBlastDBInfo.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/DumpFlag.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

namespace Norv {

XBlastDBInfo::XBlastDBInfo() : m_length(0), m_sequenceCount(0), m_isProtein(false) {}

XBlastDBInfo::XBlastDBInfo(const std::string& name, const std::string& description, unsigned int length,
                           unsigned int sequenceCount, bool isProtein)
    : DBInfo(name, description), m_length(length), m_sequenceCount(sequenceCount), m_isProtein(isProtein) {}

XBlastDBInfo::XBlastDBInfo(AlignedBuf& buf) : XBlastDBInfo() { read(buf); }

XBlastDBInfo::~XBlastDBInfo() = default;

void XBlastDBInfo::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void XBlastDBInfo::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "XBlastDBInfo");
    DBInfo::dump(os, level);
    trace("length", m_length);
    trace("sequenceCount", m_sequenceCount);
    trace("isProtein", internal::flagText(m_isProtein));
}

void XBlastDBInfo::write(AlignedBuf& buf) const {
    DBInfo::write(buf);
    buf.put(m_length);
    buf.put(m_sequenceCount);
    buf.put(m_isProtein);
}

void XBlastDBInfo::read(AlignedBuf& buf) {
    DBInfo::read(buf);
    buf.get(m_length);
    buf.get(m_sequenceCount);
    buf.get(m_isProtein);
}

}  // namespace Norv
