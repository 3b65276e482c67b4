#ifndef NORVEXT_CATALOGUE_DBDATABASE_H
#define NORVEXT_CATALOGUE_DBDATABASE_H

#include <norvext/Export.h>
#include <norvext/catalogue/DBField.h>
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

/// A database that text queries can run against: name and description (from
/// DBInfo), a numeric id (-1 when none was given), a tag, and its searchable
/// fields by value, in the order added or read. Copies copy every field.
class NORVEXT_API DBDatabase : public DBInfo {
public:
    /// The fields, by value.
    typedef std::vector<DBField> Fields;
    /// Iterator over the fields.
    typedef Fields::iterator iterator;
    /// Iterator over the fields, read-only.
    typedef Fields::const_iterator const_iterator;

    /// Empty name, description and tag, id -1, no fields.
    DBDatabase();
    /// No fields; name and description form the DBInfo part.
    DBDatabase(int id, const std::string& name, const std::string& description, const std::string& tag);
    /// The defaults, then read(buf). Throws what read() throws.
    explicit DBDatabase(AlignedBuf& buf);
    /// Copies name, description, id, tag and every field.
    DBDatabase(const DBDatabase&) = default;
    /// Assigns name, description, id, tag, then copies the fields. If the
    /// copy fails (std::bad_alloc) the scalars are already assigned.
    DBDatabase& operator=(const DBDatabase&) = default;
    /** @{ */
    /// Moves hand the fields over, so growing vectors and reads relocate a
    /// database without copying its fields.
    DBDatabase(DBDatabase&&) noexcept = default;
    DBDatabase& operator=(DBDatabase&&) noexcept = default;
    /** @} */
    ~DBDatabase() override;

    /// Offers the database, not its fields, to Common::Visitor<DBDatabase>;
    /// other visitors are ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "DBDatabase" block holding the "DBInfo" block at this same
    /// level, the id, and each field's block at the nested level. The tag is
    /// not printed.
    void dump(std::ostream& os, int level) const override;
    /// Appends the DBInfo part, id, tag, the field count and each field.
    void write(AlignedBuf& buf) const override;
    /// Reads what write() wrote. The fields read replace the old ones only
    /// once all of them have been read: on failure (std::out_of_range from
    /// the buffer, std::length_error "vector<T> too long" for an impossible
    /// count) name, description, id and tag keep what was already read and
    /// the old fields stay.
    void read(AlignedBuf& buf) override;

    /// The id; -1 when none was given.
    int getID() const { return m_id; }
    /// Stores the argument's 32 bits in the signed id: 4294967295 gives -1.
    void setID(unsigned int id) { m_id = static_cast<int>(id); }
    /// The tag.
    const std::string& getTag() const { return m_tag; }
    /// Replaces the tag.
    void setTag(const std::string& tag) { m_tag = tag; }
    /// The fields, in order.
    const Fields& getFields() const { return m_fields; }

    /// Replaces the fields by copies of `fields` (which may be getFields()).
    void assign(const Fields& fields);
    /// Appends a copy of `field`; on failure the fields are unchanged.
    void add(const DBField& field);
    /// Number of fields.
    unsigned int size() const { return static_cast<unsigned int>(m_fields.size()); }
    /// True without fields.
    bool empty() const { return m_fields.empty(); }
    /// The field at `index`, which must be below size().
    const DBField& operator[](unsigned int index) const { return m_fields[index]; }
    /** @{ */
    /// Iterators over the fields, in order, valid until fields are added,
    /// assigned or read.
    iterator begin() { return m_fields.begin(); }
    iterator end() { return m_fields.end(); }
    const_iterator begin() const { return m_fields.begin(); }
    const_iterator end() const { return m_fields.end(); }
    /** @} */

    /// The first field with this id, or end().
    const_iterator findID(int id) const;
    /// The first field whose name is exactly `name` (case matters), or end().
    const_iterator findName(const std::string& name) const;
    /// The first field whose tag is exactly `tag` (case matters), or end().
    const_iterator findTag(const std::string& tag) const;

private:
    // Its persisted fields are listed once, in internal/DBDatabaseFields.h.
    friend struct internal::FieldList<DBDatabase>;

    int m_id;
    std::string m_tag;
    Fields m_fields;
};

}  // namespace Norv

#endif
