#ifndef NORVEXT_QUERY_DBQUERY_H
#define NORVEXT_QUERY_DBQUERY_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>
#include <norvext/query/DBTerm.h>
#include <norvext/query/Summary.h>

#include <boost/shared_ptr.hpp>

#include <iosfwd>
#include <string>
#include <vector>

namespace Norv {

class AlignedBuf;

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// A database text query as it travels between the module that formulates it
/// and the module that runs it: the databases to search (by id, or by name
/// through dbName), the condition as a term tree, two settings, and once run
/// the number of hits and their Summary records. The term and the hits are
/// shared; copies share them with their source.
///
/// The databases also travel as one text: "-1" when there are none, otherwise
/// each id in decimal followed by one space ("3 17 ").
///
/// Null entries (only a caller can store them, through setTerm and add):
/// visitTerm() without a term does nothing; visitResult() and dump() skip null
/// hits; write() refuses a null hit or a null child term with
/// std::invalid_argument before writing anything.
class NORVEXT_API DBQuery : public Common::VisitableBase {
public:
    /// Database ids in insertion order; duplicates are kept.
    class DBIDSet : public std::vector<int> {
    public:
        using std::vector<int>::vector;
    };
    /// The hit records, shared, in order.
    typedef std::vector<boost::shared_ptr<Summary>> Hits;
    /// Iterator over the hits.
    typedef Hits::iterator iterator;
    /// Iterator over the hits, read-only.
    typedef Hits::const_iterator const_iterator;

    /// No databases, no term, no hits; wildcard on.
    DBQuery();
    /// A query of the database named `dbName`.
    explicit DBQuery(const std::string& dbName);
    /// A query of the database named `dbName` with the condition `term`,
    /// shared.
    DBQuery(const std::string& dbName, const boost::shared_ptr<DBTerm>& term);
    /// A query of the one database `database` (-1 included).
    explicit DBQuery(int database);
    /// A query of the one database `database` with the condition `term`,
    /// shared.
    DBQuery(int database, const boost::shared_ptr<DBTerm>& term);
    /// Copies the databases and settings and shares the term and the hits.
    DBQuery(const DBQuery&) = default;
    /// Takes the source's databases and settings and shares its term and hits.
    DBQuery& operator=(const DBQuery&) = default;
    ~DBQuery() override;

    /// The database ids, in insertion order.
    const DBIDSet& getDatabases() const { return m_databases; }
    /// The id when exactly one database is named, otherwise -1.
    int getDatabase() const;
    /// Makes `database` the only database.
    void setDatabase(int database);
    /// Appends `database`, duplicates allowed.
    void addDatabase(int database);
    /// Sets dbName; the database ids stay.
    void setDatabase(const std::string& dbName) { m_dbName = dbName; }
    /// The databases text.
    std::string getDatabasesStr() const;
    /// Appends the ids of a databases text. "-1" adds nothing; otherwise
    /// decimal integers separated by white space are appended until the text
    /// ends or an item is not an integer (the rest is ignored). Never fails.
    void setDatabasesStr(const std::string& text);

    /// The number of hits the search reported, as set (not the records held).
    int getHitCount() const { return m_hitCount; }
    /// Replaces the hit count.
    void setHitCount(int hitCount) { m_hitCount = hitCount; }
    /// The root term of the condition, shared; null without one.
    const boost::shared_ptr<DBTerm>& getTerm() const { return m_term; }
    /// Shares `term` as the condition; null is accepted.
    void setTerm(const boost::shared_ptr<DBTerm>& term) { m_term = term; }
    /// The hit records, in order, null ones included.
    const Hits& getHits() const { return m_hits; }
    /// The database source text.
    const std::string& getDBSource() const { return m_dbSource; }
    /// Replaces the database source text.
    void setDBSource(const std::string& dbSource) { m_dbSource = dbSource; }
    /// The name of the database to search (dbName).
    const std::string& getDBName() const { return m_dbName; }
    /// Replaces dbName; the database ids stay.
    void setDBName(const std::string& dbName) { m_dbName = dbName; }
    /// The wildcard setting; on in a new query.
    bool isWildcard() const { return m_wildcard; }
    /// Replaces the wildcard setting.
    void setWildcard(bool wildcard) { m_wildcard = wildcard; }

    /// Appends `hit`, whatever it holds.
    void add(const boost::shared_ptr<Summary>& hit);
    /// Appends the hits of [first, last), in order.
    void add(const_iterator first, const_iterator last);
    /// Number of hit records held (not the hit count).
    unsigned int size() const { return static_cast<unsigned int>(m_hits.size()); }
    /** @{ */
    /// Iterators over the hits, in order, valid until hits are added, cleared
    /// or read.
    iterator begin() { return m_hits.begin(); }
    iterator end() { return m_hits.end(); }
    const_iterator begin() const { return m_hits.begin(); }
    const_iterator end() const { return m_hits.end(); }
    /** @} */
    /// Removes every hit and sets the hit count to 0; everything else stays.
    void clear();

    /// Offers the query to Common::Visitor<DBQuery>; nothing else is visited.
    void accept(Common::VisitorBase& visitor) override;
    /// Offers the root term (only the root) to the visitor; without a term it
    /// does nothing.
    void visitTerm(Common::VisitorBase& visitor);
    /// Offers each hit record in turn to the visitor, skipping null hits.
    void visitResult(Common::VisitorBase& visitor);

    /// Writes a "DBQuery" block: database (the databases text), hitCount,
    /// dbSource, dbName, wildcard; then, nested, the term's dump and each
    /// non-null hit's dump. A missing term or hit prints nothing.
    void dump(std::ostream& os, int level) const;
    /// Appends the databases text, hitCount, dbSource, dbName, wildcard, the
    /// term tree, the number of hits and each hit. A query without a term
    /// writes nothing at all: it cannot travel. Throws std::invalid_argument
    /// ("DBQuery::write: null hit", or the boolean term's message for a null
    /// child term) before writing anything.
    void write(AlignedBuf& buf) const;
    /// Reads what write() puts: appends the ids of the databases text,
    /// replaces hitCount, dbSource, dbName and wildcard, replaces the term by
    /// one rebuilt as DBTerm::create() does (the new term is installed before
    /// it reads its body), then appends the hits read. Throws what
    /// DBTerm::create() throws (an unknown type code leaves the old term in
    /// place); the fields read before a failure keep their new values, and
    /// so do the hits appended before it. No hit count is refused up front:
    /// one larger than the bytes hold fails where the buffer ends.
    void read(AlignedBuf& buf);

private:
    // Its persisted fields are listed once, in internal/DBQueryFields.h.
    friend struct internal::FieldList<DBQuery>;

    DBIDSet m_databases;
    int m_hitCount;
    boost::shared_ptr<DBTerm> m_term;
    Hits m_hits;
    std::string m_dbSource;
    std::string m_dbName;
    bool m_wildcard;
};

}  // namespace Norv

#endif
