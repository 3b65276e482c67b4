#ifndef NORVEXT_TESTS_QUERY_TERMS_H
#define NORVEXT_TESTS_QUERY_TERMS_H

// Helpers of the query tests: leaves and what a tree holds.

#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBStringTerm.h>

#include <boost/make_shared.hpp>

#include <string>

namespace NorvTest {

// A string term on field `field` with no texts.
inline boost::shared_ptr<Norv::DBTerm> leaf(int field) {
    return boost::make_shared<Norv::DBStringTerm>(field, "", Norv::DBTerm::EQ);
}

// The field of the string term that is child `i` of `term`, -100 for another class.
inline int leafField(const Norv::DBBooleanTerm& term, std::size_t i) {
    const auto* typed = dynamic_cast<const Norv::DBStringTerm*>(term.getTerms().at(i).get());
    return typed != nullptr ? typed->getField() : -100;
}

}  // namespace NorvTest

#endif
