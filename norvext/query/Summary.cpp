#include <norvext/query/Summary.h>

#include <norvext/common/Dispatch.h>
#include <norvext/query/internal/SummaryFields.h>

namespace Norv {

namespace {
std::string textOrEmpty(const char* text) { return text != nullptr ? std::string(text) : std::string(); }
}  // namespace

Summary::Summary() : m_database(-1), m_id(0), m_option(0), m_initN(0), m_init1(0) {}

Summary::Summary(int database, unsigned int id, const char* title, const char* caption, const char* extra)
    : m_database(database),
      m_id(id),
      m_option(0),
      m_initN(0),
      m_init1(0),
      m_title(textOrEmpty(title)),
      m_caption(textOrEmpty(caption)),
      m_extra(textOrEmpty(extra)) {}

Summary::Summary(const char* dbName, unsigned int id, const char* title, const char* caption, const char* extra)
    : Summary(-1, id, title, caption, extra) {
    m_dbName = textOrEmpty(dbName);
}

Summary::Summary(AlignedBuf& buf) : Summary() { read(buf); }

Summary::~Summary() = default;

void Summary::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void Summary::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "Summary"); }

void Summary::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void Summary::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
