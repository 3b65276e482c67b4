#ifndef NORVEXT_CATALOGUE_QUERYDBINFO_H
#define NORVEXT_CATALOGUE_QUERYDBINFO_H

#include <norvext/Export.h>
#include <norvext/catalogue/DBDatabase.h>
#include <norvext/catalogue/DBInfo.h>

#include <iosfwd>
#include <string>
#include <vector>

namespace Norv {

class AlignedBuf;

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// The catalogue of databases that text queries can run against. It is
/// itself named and described (DBInfo), carries a limit for its users (stored
/// and persisted only), and holds its databases by value, each with its
/// fields, in the order added or read. Copies copy every database.
class NORVEXT_API QueryDBInfo : public DBInfo {
public:
    /// The databases, by value, each with its fields.
    typedef std::vector<DBDatabase> Databases;
    /// Iterator over the databases.
    typedef Databases::iterator iterator;
    /// Iterator over the databases, read-only.
    typedef Databases::const_iterator const_iterator;

    /// Empty name and description, limit 0, no databases.
    QueryDBInfo();
    /// The name and limit given, an empty description, no databases.
    QueryDBInfo(const std::string& name, unsigned int limit);
    /// Copies name, description, limit and every database.
    QueryDBInfo(const QueryDBInfo&) = default;
    /// Assigns name, description, limit, then copies the databases. If the
    /// copy fails (std::bad_alloc) the scalars are already assigned.
    QueryDBInfo& operator=(const QueryDBInfo&) = default;
    ~QueryDBInfo() override;

    /// Offers the catalogue, not its databases, to
    /// Common::Visitor<QueryDBInfo>; other visitors are ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "QueryDBInfo" block holding the "DBInfo" block at the nested
    /// level, the limit, and each database's block at the nested level.
    void dump(std::ostream& os, int level) const override;
    /// Appends the DBInfo part, limit, the database count and each database.
    void write(AlignedBuf& buf) const override;
    /// Reads what write() wrote. The databases read replace the old ones only
    /// once all of them have been read: on failure (std::out_of_range from
    /// the buffer, std::length_error "vector<T> too long" for an impossible
    /// count, at any depth) name, description and limit keep what was
    /// already read and the old databases stay.
    void read(AlignedBuf& buf) override;

    /// The limit for the catalogue's users; the library only stores and
    /// persists it.
    unsigned int getLimit() const { return m_limit; }
    /// Replaces the limit.
    void setLimit(unsigned int limit) { m_limit = limit; }
    /// The databases, in order.
    const Databases& getInfo() const { return m_info; }

    /// Appends a copy of `database` with its fields; on failure the
    /// databases are unchanged.
    void add(const DBDatabase& database);
    /// Number of databases.
    unsigned int size() const { return static_cast<unsigned int>(m_info.size()); }
    /// True without databases.
    bool empty() const { return m_info.empty(); }
    /// The database at `index`, which must be below size().
    const DBDatabase& operator[](unsigned int index) const { return m_info[index]; }
    /** @{ */
    /// Iterators over the databases, in order, valid until databases are added,
    /// assigned or read.
    iterator begin() { return m_info.begin(); }
    iterator end() { return m_info.end(); }
    const_iterator begin() const { return m_info.begin(); }
    const_iterator end() const { return m_info.end(); }
    /** @} */
    /// The stored last database (changeable in place), or null when there is
    /// none. Valid until the databases next change.
    DBDatabase* last() { return m_info.empty() ? nullptr : &m_info.back(); }

    /// The first database with this id, or end(). Fields are not searched.
    const_iterator findInfo(int id) const;
    /// The first database whose name is exactly `name` (case matters), or
    /// end().
    const_iterator findInfo(const std::string& name) const;
    /// The first database whose tag is exactly `tag` (case matters), or end().
    const_iterator findTag(const std::string& tag) const;

private:
    // Its persisted fields are listed once, in internal/QueryDBInfoFields.h.
    friend struct internal::FieldList<QueryDBInfo>;

    unsigned int m_limit;
    Databases m_info;
};

}  // namespace Norv

#endif
