#include <norvext/query/internal/TermFactory.h>

#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBRangeTerm.h>
#include <norvext/query/DBStringTerm.h>

#include <norvutil/AlignedBuf.h>

#include <boost/make_shared.hpp>

#include <stdexcept>
#include <string>

namespace Norv {
namespace internal {

namespace {

// Terms being rebuilt on this thread, outermost included.
thread_local int t_depth = 0;

// Counts one level of nesting for as long as it lives. Refuses the level
// past DBTerm::s_maxDepth before anything of it is read.
class DepthLevel {
public:
    DepthLevel() {
        if (t_depth >= DBTerm::s_maxDepth) {
            throw std::runtime_error("TermFactory::create: Term nesting deeper than " +
                                     std::to_string(DBTerm::s_maxDepth) + " levels");
        }
        ++t_depth;
    }
    ~DepthLevel() { --t_depth; }
    DepthLevel(const DepthLevel&) = delete;
    DepthLevel& operator=(const DepthLevel&) = delete;
};

boost::shared_ptr<DBTerm> makeTerm(int code) {
    switch (code) {
    case 1:
        return boost::make_shared<DBStringTerm>();
    case 2:
        return boost::make_shared<DBRangeTerm>();
    case 3:
        return boost::make_shared<DBBooleanTerm>(DBBooleanTerm::AND);
    default:
        throw std::runtime_error("TermFactory::create: Invalid term type: " + std::to_string(code));
    }
}

}  // namespace

void rebuildTerm(AlignedBuf& buf, boost::shared_ptr<DBTerm>& into) {
    const DepthLevel level;
    int code = 0;
    buf.get(code);
    into = makeTerm(code);
    into->read(buf);
}

}  // namespace internal
}  // namespace Norv
