#include <norvext/query/DBQuery.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/DumpFlag.h>
#include <norvext/common/internal/Persist.h>
#include <norvext/query/internal/TermFactory.h>
#include <norvext/query/internal/TermWrite.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

#include <boost/make_shared.hpp>

#include <locale>
#include <sstream>
#include <stdexcept>

namespace Norv {

namespace {
// The databases text of a query without database ids.
const char* const kNoDatabases = "-1";
}  // namespace

DBQuery::DBQuery() : m_hitCount(0), m_wildcard(true) {}

DBQuery::DBQuery(const std::string& dbName) : DBQuery() { m_dbName = dbName; }

DBQuery::DBQuery(const std::string& dbName, const boost::shared_ptr<DBTerm>& term) : DBQuery(dbName) {
    m_term = term;
}

DBQuery::DBQuery(int database) : DBQuery() { m_databases.push_back(database); }

DBQuery::DBQuery(int database, const boost::shared_ptr<DBTerm>& term) : DBQuery(database) { m_term = term; }

DBQuery::~DBQuery() = default;

int DBQuery::getDatabase() const { return m_databases.size() == 1 ? m_databases.front() : -1; }

void DBQuery::setDatabase(int database) { m_databases.assign(1, database); }

void DBQuery::addDatabase(int database) { m_databases.push_back(database); }

std::string DBQuery::getDatabasesStr() const {
    if (m_databases.empty()) {
        return kNoDatabases;
    }
    // The text is persisted: the global locale must not group digits.
    std::ostringstream text;
    text.imbue(std::locale::classic());
    for (int id : m_databases) {
        text << id << ' ';
    }
    return text.str();
}

void DBQuery::setDatabasesStr(const std::string& text) {
    if (text == kNoDatabases) {
        return;
    }
    std::istringstream ids(text);
    ids.imbue(std::locale::classic());
    int id = 0;
    while (ids >> id) {
        m_databases.push_back(id);
    }
}

void DBQuery::add(const boost::shared_ptr<Summary>& hit) { m_hits.push_back(hit); }

void DBQuery::add(const_iterator first, const_iterator last) { m_hits.insert(m_hits.end(), first, last); }

void DBQuery::clear() {
    m_hits.clear();
    m_hitCount = 0;
}

void DBQuery::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBQuery::visitTerm(Common::VisitorBase& visitor) {
    if (m_term) {
        m_term->accept(visitor);
    }
}

void DBQuery::visitResult(Common::VisitorBase& visitor) {
    for (const auto& hit : m_hits) {
        if (hit) {
            hit->accept(visitor);
        }
    }
}

void DBQuery::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "DBQuery");
    trace("database", getDatabasesStr());
    trace("hitCount", m_hitCount);
    trace("dbSource", m_dbSource);
    trace("dbName", m_dbName);
    trace("wildcard", internal::flagText(m_wildcard));
    if (m_term) {
        m_term->dump(os, trace.nestedIndent());
    }
    for (const auto& hit : m_hits) {
        if (hit) {
            hit->dump(os, trace.nestedIndent());
        }
    }
}

void DBQuery::write(AlignedBuf& buf) const {
    if (!m_term) {
        return;
    }
    for (const auto& hit : m_hits) {
        if (!hit) {
            throw std::invalid_argument("DBQuery::write: null hit");
        }
    }
    const internal::TermTreeWrite checked(*m_term);
    internal::putString(buf, getDatabasesStr());
    buf.put(static_cast<unsigned int>(m_hitCount));
    internal::putString(buf, m_dbSource);
    internal::putString(buf, m_dbName);
    buf.put(m_wildcard);
    m_term->write(buf);
    internal::writeElements(buf, m_hits, [&buf](const boost::shared_ptr<Summary>& hit) { hit->write(buf); });
}

void DBQuery::read(AlignedBuf& buf) {
    std::string databases;
    buf.get(databases);
    setDatabasesStr(databases);
    buf.get(m_hitCount);
    buf.get(m_dbSource);
    buf.get(m_dbName);
    buf.get(m_wildcard);
    internal::rebuildTerm(buf, m_term);
    internal::appendElements(buf, m_hits, [](AlignedBuf& in) { return boost::make_shared<Summary>(in); });
}

}  // namespace Norv
