#ifndef NORVEXT_QUERY_INTERNAL_TERMELEMENT_H
#define NORVEXT_QUERY_INTERNAL_TERMELEMENT_H

// Terms as children in a list of fields: made by the term factory from the
// type code in front of each.

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/DBTerm.h>
#include <norvext/query/internal/TermFactory.h>

namespace Norv {
namespace internal {

template <>
struct ElementOf<boost::shared_ptr<DBTerm>> {
    static boost::shared_ptr<DBTerm> read(AlignedBuf& buf) { return DBTerm::create(buf); }
    // The new term stands in `into` before it reads its body.
    static void readInto(AlignedBuf& buf, boost::shared_ptr<DBTerm>& into) { rebuildTerm(buf, into); }
};

}  // namespace internal
}  // namespace Norv

#endif
