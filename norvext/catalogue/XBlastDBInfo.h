#ifndef NORVEXT_CATALOGUE_XBLASTDBINFO_H
#define NORVEXT_CATALOGUE_XBLASTDBINFO_H

#include <norvext/Export.h>
#include <norvext/catalogue/DBInfo.h>

#include <iosfwd>
#include <string>

namespace Norv {

class AlignedBuf;

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// A database that similarity searches can run against: name and
/// description (DBInfo), its length, its number of sequences, and whether it
/// holds protein sequences. A read-mostly value without setters: it changes
/// only by assignment or read().
class NORVEXT_API XBlastDBInfo : public DBInfo {
public:
    /// Empty strings, length and sequence count 0, not protein.
    XBlastDBInfo();
    /// A description with these values.
    XBlastDBInfo(const std::string& name, const std::string& description, unsigned int length,
                 unsigned int sequenceCount, bool isProtein);
    /// The defaults, then read(buf). Throws what read() throws.
    explicit XBlastDBInfo(AlignedBuf& buf);
    /// Copies every value.
    XBlastDBInfo(const XBlastDBInfo&) = default;
    /// Replaces every value.
    XBlastDBInfo& operator=(const XBlastDBInfo&) = default;
    ~XBlastDBInfo() override;

    /// Offers the description to Common::Visitor<XBlastDBInfo>; other
    /// visitors are ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes an "XBlastDBInfo" block holding the "DBInfo" block at this same
    /// level, then length, sequenceCount and isProtein.
    void dump(std::ostream& os, int level) const override;
    /// Appends the DBInfo part, length, sequence count and the protein flag.
    void write(AlignedBuf& buf) const override;
    /// Reads the fields in write() order, replacing them. A buffer failure
    /// (std::out_of_range) leaves the fields before the failing one replaced.
    void read(AlignedBuf& buf) override;

    /// The length of the database.
    unsigned int getLength() const { return m_length; }
    /// The number of sequences in the database.
    unsigned int getSequenceCount() const { return m_sequenceCount; }
    /// True when the database holds protein sequences.
    bool isProtein() const { return m_isProtein; }

private:
    // Its persisted fields are listed once, in internal/XBlastDBInfoFields.h.
    friend struct internal::FieldList<XBlastDBInfo>;

    unsigned int m_length;
    unsigned int m_sequenceCount;
    bool m_isProtein;
};

}  // namespace Norv

#endif
