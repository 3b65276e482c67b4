#ifndef NORVEXT_TESTS_SUPPORT_GTESTSUPPORT_H
#define NORVEXT_TESTS_SUPPORT_GTESTSUPPORT_H

// What the GoogleTest tests share beyond the samples: the persisted classes
// as a list of types for typed tests, and golden files.

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
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

// Compares `actual` with tests/golden/`name`. With NORV_WRITE_GOLDEN=1 in the
// environment it writes `actual` there instead and reports the test skipped,
// so that a change is reviewed in the diff, not accepted by a green run.
inline void checkGolden(const std::string& name, const std::string& actual) {
    const std::string path = std::string(NORV_SOURCE_DIR "/tests/golden/") + name;
    const char* rewrite = std::getenv("NORV_WRITE_GOLDEN");
    if (rewrite != nullptr && std::string(rewrite) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        GTEST_SKIP() << "rewrote " << path;
    }
    EXPECT_EQ(actual, fileText(path)) << "differs from " << path;
}

}  // namespace NorvTest

#endif
