#include <norvext/query/DBBooleanTerm.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/Persist.h>
#include <norvext/query/internal/TermWrite.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

#include <stdexcept>

namespace Norv {

namespace {
// Type code in front of a persisted boolean term.
const unsigned int kTypeCode = 3;
}  // namespace

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
    Tracer trace(os, Indent(level), "DBBooleanTerm");
    trace("op", getOpName());
    for (const auto& term : m_terms) {
        if (term) {
            term->dump(os, trace.nestedIndent());
        }
    }
}

void DBBooleanTerm::write(AlignedBuf& buf) const {
    const internal::TermTreeWrite checked(*this);
    buf.put(kTypeCode);
    buf.put(static_cast<unsigned int>(m_op));
    internal::writeElements(buf, m_terms, [&buf](const boost::shared_ptr<DBTerm>& term) { term->write(buf); });
}

void DBBooleanTerm::read(AlignedBuf& buf) {
    int op = 0;
    buf.get(op);
    if (op != AND && op != OR && op != NOT) {
        throw std::runtime_error("DBBooleanTerm::read: Invalid opcode: " + std::to_string(op));
    }
    m_op = static_cast<Op>(op);
    internal::appendElements(buf, m_terms, [](AlignedBuf& in) { return DBTerm::create(in); });
}

}  // namespace Norv
