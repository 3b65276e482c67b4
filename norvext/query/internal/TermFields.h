#ifndef NORVEXT_QUERY_INTERNAL_TERMFIELDS_H
#define NORVEXT_QUERY_INTERNAL_TERMFIELDS_H

// What the lists of the term classes share: terms as children, made by the
// term factory from the type code in front of each, and the field that a
// leaf term tests.

#include <norvext/common/internal/FieldList.h>
#include <norvext/query/DBTerm.h>
#include <norvext/query/internal/TermFactory.h>

#include <string>
#include <tuple>

namespace Norv {
namespace internal {

template <>
struct ElementOf<boost::shared_ptr<DBTerm>> {
    static boost::shared_ptr<DBTerm> read(AlignedBuf& buf) { return DBTerm::create(buf); }
    // The new term stands in `into` before it reads its body.
    static void readInto(AlignedBuf& buf, boost::shared_ptr<DBTerm>& into) { rebuildTerm(buf, into); }
};

// The tested field of a leaf term, by id or (with id -1) by name: the first
// entries of its list after the type code.
template <class T>
constexpr auto testedField(int T::*id, std::string T::*name) {
    return std::make_tuple(field("field", id), field("fieldName", name));
}

}  // namespace internal
}  // namespace Norv

#endif
