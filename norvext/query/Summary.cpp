#include <norvext/query/Summary.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

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

void Summary::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "Summary");
    trace("database", m_database);
    trace("id", m_id);
    trace("option", m_option);
    trace("initN", m_initN);
    trace("init1", m_init1);
    trace("dbName", m_dbName);
    trace("sourceDB", m_sourceDB);
    trace("sourceID", m_sourceID);
    trace("title", m_title);
    trace("caption", m_caption);
    trace("extra", m_extra);
}

void Summary::write(AlignedBuf& buf) const {
    buf.put(static_cast<unsigned int>(m_database));
    buf.put(m_id);
    buf.put(m_option);
    buf.put(m_initN);
    buf.put(m_init1);
    internal::putString(buf, m_dbName);
    internal::putString(buf, m_sourceDB);
    internal::putString(buf, m_sourceID);
    internal::putString(buf, m_title);
    internal::putString(buf, m_caption);
    internal::putString(buf, m_extra);
}

void Summary::read(AlignedBuf& buf) {
    buf.get(m_database);
    buf.get(m_id);
    buf.get(m_option);
    buf.get(m_initN);
    buf.get(m_init1);
    buf.get(m_dbName);
    buf.get(m_sourceDB);
    buf.get(m_sourceID);
    buf.get(m_title);
    buf.get(m_caption);
    buf.get(m_extra);
}

}  // namespace Norv
