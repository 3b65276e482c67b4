#ifndef NORVEXT_CATALOGUE_DBFIELD_H
#define NORVEXT_CATALOGUE_DBFIELD_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>

#include <iosfwd>
#include <string>

namespace Norv {

class AlignedBuf;

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// One searchable field of a database: its numeric id within the database
/// (-1 when none was given), its name, a description and a tag. Databases
/// hold their fields by value and find them by id, name or tag.
class NORVEXT_API DBField : public Common::VisitableBase {
public:
    /// id -1, the three strings empty.
    DBField();
    /// A field with these values.
    DBField(int id, const std::string& name, const std::string& description, const std::string& tag);
    /// The defaults, then read(buf). Throws what read() throws.
    explicit DBField(AlignedBuf& buf);
    /** @{ */
    /// Copies and moves carry id, name, description and tag.
    DBField(const DBField&) = default;
    DBField& operator=(const DBField&) = default;
    DBField(DBField&&) noexcept = default;
    DBField& operator=(DBField&&) noexcept = default;
    /** @} */
    ~DBField() override;

    /// The id; -1 when none was given.
    int getID() const { return m_id; }
    /// Stores the argument's 32 bits in the signed id: 4294967295 gives -1.
    void setID(unsigned int id) { m_id = static_cast<int>(id); }
    /// The name.
    const std::string& getName() const { return m_name; }
    /// Replaces the name.
    void setName(const std::string& name) { m_name = name; }
    /// The description text.
    const std::string& getDescription() const { return m_description; }
    /// Replaces the description.
    void setDescription(const std::string& description) { m_description = description; }
    /// The tag.
    const std::string& getTag() const { return m_tag; }
    /// Replaces the tag.
    void setTag(const std::string& tag) { m_tag = tag; }

    /// Offers the field to Common::Visitor<DBField>; other visitors are
    /// ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "DBField" block: id, name, description, tag.
    void dump(std::ostream& os, int level) const;
    /// Appends id (its 32 bits), name, description, tag.
    void write(AlignedBuf& buf) const;
    /// Reads the fields in write() order, replacing them. A buffer failure
    /// (std::out_of_range) leaves the fields before the failing one replaced.
    void read(AlignedBuf& buf);

private:
    // Its persisted fields are listed once, in internal/DBFieldFields.h.
    friend struct internal::FieldList<DBField>;

    int m_id;
    std::string m_name;
    std::string m_description;
    std::string m_tag;
};

}  // namespace Norv

#endif
