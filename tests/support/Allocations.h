#ifndef NORVEXT_TESTS_SUPPORT_ALLOCATIONS_H
#define NORVEXT_TESTS_SUPPORT_ALLOCATIONS_H

// Measures the memory that an operation takes: on glibc, the test programs
// that link tests/support/Allocations.cpp replace the global operator new and
// delete with counting ones that keep no header of their own, so a block may
// be allocated in one module and freed in another. Where a shared library
// keeps its own allocation functions (Windows DLLs) a replacement in the test
// program would not see the library's allocations, so nothing is replaced
// there and memory is not measured; kCountsAllocations tells.

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace NorvTest {

// The most memory that a failed read of a short buffer may allocate: its
// error text and the few small objects read before the failure, counted in
// the allocator's usable sizes. Room reserved for a hostile count's elements
// would take gigabytes.
constexpr std::size_t kShortReadBytes = 4096;

// The hostile element count: the largest that a buffer can announce.
constexpr unsigned int kHostileCount = 4294967295u;

// The peak of the bytes allocated through operator new and not yet freed,
// counted from the meter's construction (what was alive before counts as 0).
// One meter at a time.
class AllocationMeter {
public:
    AllocationMeter();
    std::size_t peak() const;

private:
    std::size_t m_base;
};

// Whether this platform's test programs count allocations (glibc).
#if defined(__GLIBC__)
constexpr bool kCountsAllocations = true;
#else
constexpr bool kCountsAllocations = false;
#endif

// True when allocations made inside the libraries are counted: what
// kCountsAllocations promises, checked by every failsCheaply().
bool isMetered();

// Checks a read of a short buffer that announces kHostileCount elements it
// does not hold: the read fails with the buffer's std::out_of_range (or,
// when `tooMany`, with std::length_error "vector<T> too long") and allocates
// at most kShortReadBytes (checked where kCountsAllocations).
template <class Read>
::testing::AssertionResult failsCheaply(Read read, bool tooMany = false) {
    const AllocationMeter meter;
    std::string failure;
    try {
        read();
        failure = "the read succeeded";
    } catch (const std::out_of_range& e) {
        if (tooMany) {
            failure = std::string("std::out_of_range instead of std::length_error: ") + e.what();
        }
    } catch (const std::length_error& e) {
        if (!tooMany || std::string(e.what()) != "vector<T> too long") {
            failure = std::string("std::length_error: ") + e.what();
        }
    }
    const std::size_t peak = meter.peak();
    if (kCountsAllocations && !isMetered()) {
        failure = "allocations inside the libraries are not counted";
    }
    if (!failure.empty()) {
        return ::testing::AssertionFailure() << failure;
    }
    if (peak > kShortReadBytes) {
        return ::testing::AssertionFailure() << "the read allocated " << peak << " bytes";
    }
    return ::testing::AssertionSuccess();
}

// As above, for a count of elements of type T: where no vector<T> can hold
// kHostileCount elements, the read fails on the count itself.
template <class T, class Read>
::testing::AssertionResult countFailsCheaply(Read read) {
    return failsCheaply(read, kHostileCount > std::vector<T>().max_size());
}

}  // namespace NorvTest

#endif
