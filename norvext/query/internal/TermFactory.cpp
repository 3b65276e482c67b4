#include <norvext/query/internal/TermFactory.h>

#include <norvext/PersistedClasses.h>
#include <norvext/query/internal/DBBooleanTermFields.h>
#include <norvext/query/internal/DBRangeTermFields.h>
#include <norvext/query/internal/DBStringTermFields.h>

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

// A new default term of the class whose list writes `code` in front.
boost::shared_ptr<DBTerm> makeTerm(int code) {
    boost::shared_ptr<DBTerm> term;
    forEachPersistedClass([code, &term](auto entry) {
        using T = typename decltype(entry)::Class;
        if constexpr (decltype(entry)::s_isTerm) {
            if (code == static_cast<int>(typeCodeOf<T>())) {
                term = boost::make_shared<T>();
            }
        }
    });
    if (!term) {
        throw std::runtime_error("TermFactory::create: Invalid term type: " + std::to_string(code));
    }
    return term;
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
