#ifndef NORVEXT_CATALOGUE_DBINFO_H
#define NORVEXT_CATALOGUE_DBINFO_H

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

/// The abstract base of every database description: a name and a free
/// description text. It supplies the first part of each description's
/// persisted form (name, then description) and a "DBInfo" dump block.
class NORVEXT_API DBInfo : public Common::VisitableBase {
public:
    /// Copies name and description.
    DBInfo(const DBInfo&) = default;
    /// Replaces name and description; lets a description's base part be
    /// assigned from any other description.
    DBInfo& operator=(const DBInfo&) = default;
    /** @{ */
    /// Moves hand name and description over.
    DBInfo(DBInfo&&) noexcept = default;
    DBInfo& operator=(DBInfo&&) noexcept = default;
    /** @} */
    ~DBInfo() override;

    /// Only concrete descriptions are visited; DBInfo has no interface.
    void accept(Common::VisitorBase& visitor) override = 0;
    /// Writes a "DBInfo" block with name and description at `level`.
    virtual void dump(std::ostream& os, int level) const;
    /// Appends name, then description.
    virtual void write(AlignedBuf& buf) const;
    /// Reads name, then description, replacing them. A buffer failure
    /// (std::out_of_range) leaves a name already read replaced.
    virtual void read(AlignedBuf& buf);

    /// The name.
    const std::string& getName() const { return m_name; }
    /// Replaces the name.
    void setName(const std::string& name) { m_name = name; }
    /// The description text.
    const std::string& getDescription() const { return m_description; }
    /// Replaces the description.
    void setDescription(const std::string& description) { m_description = description; }

protected:
    /// Both strings empty.
    DBInfo();
    /// The name given, an empty description.
    explicit DBInfo(const std::string& name);
    /// The name and description given.
    DBInfo(const std::string& name, const std::string& description);

private:
    // Its persisted fields are listed once, in internal/DBInfoFields.h.
    friend struct internal::FieldList<DBInfo>;

    std::string m_name;
    std::string m_description;
};

}  // namespace Norv

#endif
