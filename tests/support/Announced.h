#ifndef NORVEXT_TESTS_SUPPORT_ANNOUNCED_H
#define NORVEXT_TESTS_SUPPORT_ANNOUNCED_H

// A count read off a buffer that no data backs must fail without costing
// memory. Where a vector of Element could never hold `count` elements (a
// 32-bit build, for counts near 2^32) the failure is the vector's length
// error; elsewhere the elements are read one by one until the buffer runs
// out.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace NorvTest {

template <class Element, class Action>
void expectAnnouncedCountRefused(unsigned int count, Action action) {
    if (count > std::vector<Element>().max_size()) {
        try {
            action();
            ADD_FAILURE() << "no exception for a count of " << count;
        } catch (const std::length_error& e) {
            EXPECT_EQ(std::string(e.what()), "vector<T> too long");
        }
    } else {
        EXPECT_THROW(action(), std::out_of_range);
    }
}

}  // namespace NorvTest

#endif
