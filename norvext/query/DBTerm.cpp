#include <norvext/query/DBTerm.h>

#include <norvext/query/internal/TermFactory.h>

namespace Norv {

const int DBTerm::s_maxDepth = 256;

DBTerm::~DBTerm() = default;

void DBTerm::dump(std::ostream&, int) const {}

const char* DBTerm::compName(Compare compare) {
    switch (compare) {
    case EQ:
        return "EQ";
    case NEQ:
        return "NEQ";
    case LT:
        return "LT";
    case GT:
        return "GT";
    case LE:
        return "LE";
    case GE:
        return "GE";
    case LIKE:
        return "LIKE";
    }
    return "";
}

DBTerm::Compare DBTerm::compValue(const std::string& name) {
    if (name.size() < 2) {
        return EQ;
    }
    const char second = name[1];
    switch (name[0]) {
    case 'N':
        return NEQ;
    case 'G':
        return second == 'E' ? GE : second == 'T' ? GT : EQ;
    case 'L':
        return second == 'E' ? LE : second == 'I' ? LIKE : second == 'T' ? LT : EQ;
    default:
        return EQ;
    }
}

boost::shared_ptr<DBTerm> DBTerm::create(AlignedBuf& buf) {
    boost::shared_ptr<DBTerm> term;
    internal::rebuildTerm(buf, term);
    return term;
}

}  // namespace Norv
