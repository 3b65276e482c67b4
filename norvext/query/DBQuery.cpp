#include <norvext/query/DBQuery.h>

#include <norvext/common/Dispatch.h>
#include <norvext/query/internal/DBQueryFields.h>
#include <norvext/query/internal/TermWrite.h>

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

void DBQuery::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "DBQuery"); }

// Nothing is written unless all of it can be: a query without a term, a null
// hit or a null child term anywhere in the tree stop it before the first byte.
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
    internal::writeFields(*this, buf);
}

void DBQuery::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
