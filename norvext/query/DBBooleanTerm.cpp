#include <norvext/query/DBBooleanTerm.h>

#include <norvext/common/Dispatch.h>
#include <norvext/query/internal/DBBooleanTermFields.h>
#include <norvext/query/internal/TermWrite.h>

namespace Norv {

DBBooleanTerm::DBBooleanTerm(Op op) : m_op(op) {}

DBBooleanTerm::DBBooleanTerm(const std::string& opName) : m_op(name2Op(opName)) {}

DBBooleanTerm::DBBooleanTerm(const boost::shared_ptr<DBTerm>& term, Op op) : m_terms(1, term), m_op(op) {}

DBBooleanTerm::DBBooleanTerm(const boost::shared_ptr<DBTerm>& first, Op op, const boost::shared_ptr<DBTerm>& second)
    : m_terms{first, second}, m_op(op) {}

DBBooleanTerm::~DBBooleanTerm() = default;

const char* DBBooleanTerm::opName(Op op) {
    switch (op) {
    case AND:
        return "AND";
    case OR:
        return "OR";
    case NOT:
        return "NOT";
    }
    return "";
}

DBBooleanTerm::Op DBBooleanTerm::name2Op(const std::string& name) {
    if (name == "OR") {
        return OR;
    }
    if (name == "NOT") {
        return NOT;
    }
    return AND;
}

void DBBooleanTerm::addTerm(const boost::shared_ptr<DBTerm>& term) { m_terms.push_back(term); }

void DBBooleanTerm::clear() { m_terms.clear(); }

void DBBooleanTerm::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void DBBooleanTerm::dump(std::ostream& os, int level) const {
    internal::dumpFields(*this, os, level, "DBBooleanTerm");
}

// Written in prefix order: the whole tree is checked before its first byte.
void DBBooleanTerm::write(AlignedBuf& buf) const {
    const internal::TermTreeWrite checked(*this);
    internal::writeFields(*this, buf);
}

void DBBooleanTerm::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

}  // namespace Norv
