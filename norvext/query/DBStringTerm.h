#ifndef NORVEXT_QUERY_DBSTRINGTERM_H
#define NORVEXT_QUERY_DBSTRINGTERM_H

#include <norvext/Export.h>
#include <norvext/query/DBTerm.h>

#include <string>

namespace Norv {

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// A leaf term: a field, named by id or (with id -1) by name, compared with a
/// text. The library holds the field and the text; it interprets neither.
class NORVEXT_API DBStringTerm : public DBTerm {
public:
    /// Field -1, empty name and text, EQ.
    DBStringTerm();
    /// A field given by id; the name stays empty.
    DBStringTerm(int field, const std::string& query, Compare compare);
    /// A field given by name; the id is -1.
    DBStringTerm(const std::string& fieldName, const std::string& query, Compare compare);
    /// Copies every field.
    DBStringTerm(const DBStringTerm&) = default;
    /// Replaces every field.
    DBStringTerm& operator=(const DBStringTerm&) = default;
    ~DBStringTerm() override;

    /// The field id; -1 when the field is given by name.
    int getField() const { return m_field; }
    /// Replaces the field id; the name stays.
    void setFieldId(int field) { m_field = field; }
    /// The field name; empty when the field is given by id.
    const std::string& getFieldName() const { return m_fieldName; }
    /// Replaces the field name; the id stays.
    void setFieldName(const std::string& fieldName) { m_fieldName = fieldName; }
    /// The text the field is compared with.
    const std::string& getQuery() const { return m_query; }
    /// The comparison.
    Compare getCompare() const { return m_compare; }

    /// Offers the term to Common::Visitor<DBStringTerm>; other visitors are
    /// ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "DBStringTerm" block: field, fieldName, query, compare (by
    /// name).
    void dump(std::ostream& os, int level) const override;
    /// Appends the type code 1, field, fieldName, query, compare.
    void write(AlignedBuf& buf) const override;
    /// Reads field, fieldName, query and compare, replacing them. A comparison
    /// value outside 0 to 6 is ignored: compare keeps its value. A buffer
    /// failure leaves the fields before the failing one replaced.
    void read(AlignedBuf& buf) override;

private:
    // Its persisted fields are listed once, in internal/DBStringTermFields.h.
    friend struct internal::FieldList<DBStringTerm>;

    int m_field;
    std::string m_fieldName;
    std::string m_query;
    Compare m_compare;
};

}  // namespace Norv

#endif
