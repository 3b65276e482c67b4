#ifndef NORVEXT_TESTS_SUPPORT_PERSISTEDTYPES_H
#define NORVEXT_TESTS_SUPPORT_PERSISTEDTYPES_H

// The persisted classes as GoogleTest's list of types for typed tests, with
// the class names as the tests' names.

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <tuple>

namespace NorvTest {

namespace internal {
template <class List>
struct TestTypes;
template <class... Entry>
struct TestTypes<std::tuple<Entry...>> {
    using type = ::testing::Types<typename Entry::Class...>;
};
}  // namespace internal

// Every class of Norv::persistedClasses().
using PersistedTypes = internal::TestTypes<Norv::PersistedClasses>::type;

// Names typed tests after the class: Persisted/DBField.
struct PersistedTypeName {
    template <class T>
    static std::string GetName(int) {
        return Norv::persistedClassName<T>();
    }
};

}  // namespace NorvTest

#endif
