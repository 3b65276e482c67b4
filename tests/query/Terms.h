#ifndef NORVEXT_TESTS_QUERY_TERMS_H
#define NORVEXT_TESTS_QUERY_TERMS_H

// Helpers of the query tests: trees put together word by word, independently
// of the writers under test, and error texts.

#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBStringTerm.h>

#include <norvutil/AlignedBuf.h>

#include <boost/make_shared.hpp>

#include <stdexcept>
#include <string>

namespace NorvTest {

// A string term on field `field` with no texts.
inline boost::shared_ptr<Norv::DBTerm> leaf(int field) {
    return boost::make_shared<Norv::DBStringTerm>(field, "", Norv::DBTerm::EQ);
}

// `depth` nested AND terms, each the only child of the one above it.
inline void putNestedBooleans(Norv::AlignedBuf& buf, int depth) {
    for (int level = 1; level <= depth; ++level) {
        for (unsigned int word : {3u, 1u, level < depth ? 1u : 0u}) {
            buf.put(word);
        }
    }
}

// Number of terms from `term` down its first children, `term` included.
inline int depthOf(const boost::shared_ptr<Norv::DBTerm>& term) {
    int depth = 0;
    for (const Norv::DBTerm* at = term.get(); at != nullptr; ++depth) {
        const auto* node = dynamic_cast<const Norv::DBBooleanTerm*>(at);
        at = node != nullptr && !node->getTerms().empty() ? node->getTerms().front().get() : nullptr;
    }
    return depth;
}

// The field of the string term that is child `i` of `term`, -100 for another class.
inline int leafField(const Norv::DBBooleanTerm& term, std::size_t i) {
    const auto* typed = dynamic_cast<const Norv::DBStringTerm*>(term.getTerms().at(i).get());
    return typed != nullptr ? typed->getField() : -100;
}

// The message of the std::runtime_error that `action` throws.
template <class Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace NorvTest

#endif
