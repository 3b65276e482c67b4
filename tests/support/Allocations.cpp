#include "tests/support/Allocations.h"

#include <norvutil/AlignedBuf.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

// Each block carries its size in front of the caller's bytes, so that the
// unsized delete can count it off.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size) noexcept {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) {
        return nullptr;
    }
    *static_cast<std::size_t*>(block) = size;
    const std::size_t live = g_live.fetch_add(size) + size;
    std::size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void release(void* p) noexcept {
    if (p == nullptr) {
        return;
    }
    void* block = static_cast<char*>(p) - kHeader;
    g_live.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

void* allocateOrThrow(std::size_t size) {
    void* p = allocate(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
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

bool seesLibraryAllocations() {
    const std::vector<unsigned char> bytes(4096);
    const AllocationMeter meter;
    Norv::AlignedBuf buf;
    buf.put(bytes.data(), static_cast<unsigned int>(bytes.size()));  // the buffer grows inside NorvUtil
    return meter.peak() >= bytes.size();
}

}  // namespace NorvTest
