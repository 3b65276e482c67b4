#ifndef NORVEXT_QUERY_DBRANGETERM_H
#define NORVEXT_QUERY_DBRANGETERM_H

#include <norvext/Export.h>
#include <norvext/query/DBTerm.h>

#include <string>

namespace Norv {

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// A leaf term: a field, named by id or (with id -1) by name, lying between a
/// lower and an upper bound given as texts. The library interprets neither.
class NORVEXT_API DBRangeTerm : public DBTerm {
public:
    /// Field -1, everything else empty.
    DBRangeTerm();
    /// A field given by id; the name stays empty.
    DBRangeTerm(int field, const std::string& start, const std::string& end);
    /// A field given by name; the id is -1.
    DBRangeTerm(const std::string& fieldName, const std::string& start, const std::string& end);
    /// Copies every field.
    DBRangeTerm(const DBRangeTerm&) = default;
    /// Replaces every field.
    DBRangeTerm& operator=(const DBRangeTerm&) = default;
    ~DBRangeTerm() override;

    /// The field id; -1 when the field is given by name.
    int getField() const { return m_field; }
    /// Replaces the field id; the name stays.
    void setFieldId(int field) { m_field = field; }
    /// The field name; empty when the field is given by id.
    const std::string& getFieldName() const { return m_fieldName; }
    /// Replaces the field name; the id stays.
    void setFieldName(const std::string& fieldName) { m_fieldName = fieldName; }
    /// The lower bound.
    const std::string& getStart() const { return m_start; }
    /// The upper bound.
    const std::string& getEnd() const { return m_end; }

    /// Offers the term to Common::Visitor<DBRangeTerm>; other visitors are
    /// ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "DBRangeTerm" block: field, fieldName, begin (the lower
    /// bound), end.
    void dump(std::ostream& os, int level) const override;
    /// Appends the type code 2, field, fieldName, start, end.
    void write(AlignedBuf& buf) const override;
    /// Reads field, fieldName, start and end, replacing them. A buffer failure
    /// leaves the fields before the failing one replaced.
    void read(AlignedBuf& buf) override;

private:
    // Its persisted fields are listed once, in internal/DBRangeTermFields.h.
    friend struct internal::FieldList<DBRangeTerm>;

    int m_field;
    std::string m_fieldName;
    std::string m_start;
    std::string m_end;
};

}  // namespace Norv

#endif
