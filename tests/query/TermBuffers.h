#ifndef NORVEXT_TESTS_QUERY_TERMBUFFERS_H
#define NORVEXT_TESTS_QUERY_TERMBUFFERS_H

// Helpers of the query tests: persisted trees put together word by word,
// independently of the writers under test, and error texts.

#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBStringTerm.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Words.h"

#include <boost/make_shared.hpp>

#include <stdexcept>
#include <string>
#include <vector>

namespace NorvTest {

// A string term on field `field` with no texts: five words when written.
inline boost::shared_ptr<Norv::DBTerm> leaf(int field, Norv::DBTerm::Compare compare = Norv::DBTerm::EQ) {
    return boost::make_shared<Norv::DBStringTerm>(field, "", compare);
}

// `depth` nested boolean terms, each the only child of the one above it.
inline void putNestedBooleans(Norv::AlignedBuf& buf, int depth) {
    for (int level = 1; level <= depth; ++level) {
        buf.put(3u);
        buf.put(1u);
        buf.put(level < depth ? 1u : 0u);
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

// The words that `term` writes.
inline std::vector<std::uint32_t> wordsOf(const Norv::DBTerm& term) {
    Norv::AlignedBuf buf;
    term.write(buf);
    return words(buf);
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
