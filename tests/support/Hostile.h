#ifndef NORVEXT_TESTS_SUPPORT_HOSTILE_H
#define NORVEXT_TESTS_SUPPORT_HOSTILE_H

// Reads of a buffer that announces more elements than it holds. What such a
// read may allocate is checked by the fuzz targets' replay of the hostile
// seeds (no allocation over 1 MiB); here, how it fails.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace NorvTest {

// The largest element count that a buffer can announce.
constexpr unsigned int kHostileCount = 4294967295u;

// Whether `read` fails as a read of kHostileCount elements of type T must:
// a reader that checks the count first throws std::length_error "vector<T>
// too long" where no vector<T> holds that many (32-bit size_t), and every
// reader otherwise stops at the end of the data with std::out_of_range.
template <class T, class Read>
::testing::AssertionResult failsOnHostileCount(Read read, bool checksCount) {
    const bool tooMany = checksCount && kHostileCount > std::vector<T>().max_size();
    try {
        read();
        return ::testing::AssertionFailure() << "the read succeeded";
    } catch (const std::out_of_range& e) {
        if (!tooMany) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "std::out_of_range instead of std::length_error: " << e.what();
    } catch (const std::length_error& e) {
        if (tooMany && std::string(e.what()) == "vector<T> too long") {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "std::length_error: " << e.what();
    }
}

}  // namespace NorvTest

#endif
