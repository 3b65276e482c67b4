#ifndef NORVEXT_QUERY_DBBOOLEANTERM_H
#define NORVEXT_QUERY_DBBOOLEANTERM_H

#include <norvext/Export.h>
#include <norvext/query/DBTerm.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace Norv {

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// The inner node of a term tree: AND, OR or NOT over an ordered list of
/// shared child terms. The number of children is not checked against the
/// operator: NOT with two children or AND with none are kept as they are.
///
/// A null child may be stored (addTerm takes whatever it is given); dump()
/// skips it, and write() refuses a tree that holds one (see write()).
class NORVEXT_API DBBooleanTerm : public DBTerm {
public:
    /// The operator, persisted as its value: AND 1, OR 2, NOT 3.
    enum Op { AND = 1, OR = 2, NOT = 3 };
    /// The children, shared, in order.
    typedef std::vector<boost::shared_ptr<DBTerm>> Terms;

    /// No children.
    explicit DBBooleanTerm(Op op = AND);
    /// No children; the operator as name2Op() gives it.
    explicit DBBooleanTerm(const std::string& opName);
    /// One child.
    DBBooleanTerm(const boost::shared_ptr<DBTerm>& term, Op op);
    /// Two children, `first` first.
    DBBooleanTerm(const boost::shared_ptr<DBTerm>& first, Op op, const boost::shared_ptr<DBTerm>& second);
    /// Copies share the children with their source.
    DBBooleanTerm(const DBBooleanTerm&) = default;
    /// Takes the source's operator and shares its children.
    DBBooleanTerm& operator=(const DBBooleanTerm&) = default;
    ~DBBooleanTerm() override;

    /// The operator.
    Op getOp() const { return m_op; }
    /// The children, in order, null ones included.
    const Terms& getTerms() const { return m_terms; }
    /// The operator's name, as opName() gives it.
    const char* getOpName() const { return opName(m_op); }

    /// "AND", "OR", "NOT"; the empty text for any other value.
    static const char* opName(Op op);
    /// Whole, case-sensitive text: "OR" gives OR, "NOT" gives NOT, every other
    /// text (the empty one included) gives AND. Never fails.
    static Op name2Op(const std::string& name);

    /// Appends `term` to the children, whatever it holds.
    void addTerm(const boost::shared_ptr<DBTerm>& term);
    /// Removes every child; the operator stays.
    void clear();

    /// Offers the term to Common::Visitor<DBBooleanTerm>; other visitors are
    /// ignored, and the children are not visited.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "DBBooleanTerm" block with "op", and inside it the dump of
    /// every child that is not null (a null child prints nothing at all).
    void dump(std::ostream& os, int level) const override;
    /// Appends the type code 3, the operator, the number of children, then
    /// each child's own write(). Throws std::invalid_argument
    /// "DBBooleanTerm::write: null child term" when any boolean term of the
    /// tree holds a null child; the whole tree is checked first, so the buffer
    /// is then left untouched.
    void write(AlignedBuf& buf) const override;
    /// Reads the operator, then the number of children, and appends that many
    /// children rebuilt by DBTerm::create(); children already present stay.
    /// Throws std::runtime_error "DBBooleanTerm::read: Invalid opcode: <code>"
    /// for an operator other than 1, 2 or 3, leaving the term unchanged.
    /// Failures inside a child pass through; the children appended before it
    /// stay. No child count is refused up front: one larger than the bytes
    /// hold fails where the buffer ends.
    void read(AlignedBuf& buf) override;

private:
    // Its persisted fields are listed once, in internal/DBBooleanTermFields.h.
    friend struct internal::FieldList<DBBooleanTerm>;

    Terms m_terms;
    Op m_op;
};

}  // namespace Norv

#endif
