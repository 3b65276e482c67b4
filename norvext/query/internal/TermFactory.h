#ifndef NORVEXT_QUERY_INTERNAL_TERMFACTORY_H
#define NORVEXT_QUERY_INTERNAL_TERMFACTORY_H

// The one place that turns a persisted type code into a term: used by
// DBTerm::create() and by DBQuery::read() for its root term.

#include <boost/shared_ptr.hpp>

namespace Norv {

class AlignedBuf;
class DBTerm;

namespace internal {

// Reads a type code, stores a new default term of that class in `into` (the
// old one is released), then lets it read its body. `into` is untouched when
// the code names no term class or the nesting bound is reached; both throw
// std::runtime_error with the factory's name. Nesting is counted per thread
// across the recursion through DBBooleanTerm::read(), and released on the way
// out, exceptions included.
void rebuildTerm(AlignedBuf& buf, boost::shared_ptr<DBTerm>& into);

}  // namespace internal
}  // namespace Norv

#endif
