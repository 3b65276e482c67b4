#include "tests/support/Allocations.h"

#include <norvutil/AlignedBuf.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>

namespace {

std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

// Blocks are plain malloc blocks, counted by their usable size: whichever
// module frees a block, it hands free() what malloc() gave, and the count
// taken off is the count put on.
void* allocate(std::size_t size) noexcept {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        return nullptr;
    }
    const std::size_t usable = malloc_usable_size(block);
    const std::size_t live = g_live.fetch_add(usable) + usable;
    std::size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return block;
}

void release(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    g_live.fetch_sub(malloc_usable_size(block));
    std::free(block);
}

void* allocateOrThrow(std::size_t size) {
    void* block = allocate(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

namespace NorvTest {

AllocationMeter::AllocationMeter() : m_base(g_live.load()) { g_peak.store(m_base); }

std::size_t AllocationMeter::peak() const { return g_peak.load() - m_base; }

}  // namespace NorvTest

#else

namespace NorvTest {

AllocationMeter::AllocationMeter() : m_base(0) {}

std::size_t AllocationMeter::peak() const { return 0; }

}  // namespace NorvTest

#endif

namespace NorvTest {

bool isMetered() {
    const std::vector<unsigned char> bytes(4096);
    const AllocationMeter meter;
    Norv::AlignedBuf buf;
    buf.put(bytes.data(), static_cast<unsigned int>(bytes.size()));  // the buffer grows inside NorvUtil
    return meter.peak() >= bytes.size();
}

}  // namespace NorvTest
