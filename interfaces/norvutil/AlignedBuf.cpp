#include <norvutil/AlignedBuf.h>

#include <algorithm>
#include <stdexcept>

namespace Norv {

namespace {

// The first allocation: room for a small object, so that writing one takes a
// single allocation.
constexpr std::size_t kFirstCapacity = 256;
// Spare room zeroed at a time. Bounded, so that a large buffer does not zero
// (and touch) the whole of its doubled capacity ahead of the writing.
constexpr std::size_t kZeroStretch = 64 * 1024;

[[noreturn]] void tooLong() { throw std::length_error("AlignedBuf: more bytes than a buffer can hold"); }

}  // namespace

AlignedBuf::AlignedBuf(const AlignedBuf& other)
    : m_bytes(other.m_bytes.begin(), other.m_bytes.begin() + static_cast<std::ptrdiff_t>(other.m_size)),
      m_size(other.m_size),
      m_read(other.m_read) {}

AlignedBuf& AlignedBuf::operator=(const AlignedBuf& other) {
    if (this != &other) {
        m_bytes.assign(other.m_bytes.begin(), other.m_bytes.begin() + static_cast<std::ptrdiff_t>(other.m_size));
        m_size = other.m_size;
        m_read = other.m_read;
    }
    return *this;
}

AlignedBuf::AlignedBuf(AlignedBuf&& other) noexcept
    : m_bytes(std::move(other.m_bytes)), m_size(other.m_size), m_read(other.m_read) {
    other.m_bytes.clear();
    other.m_size = 0;
    other.m_read = 0;
}

AlignedBuf& AlignedBuf::operator=(AlignedBuf&& other) noexcept {
    if (this != &other) {
        m_bytes = std::move(other.m_bytes);
        m_size = other.m_size;
        m_read = other.m_read;
        other.m_bytes.clear();
        other.m_size = 0;
        other.m_read = 0;
    }
    return *this;
}

void AlignedBuf::reserveFor(std::size_t needed) {
    if (needed <= m_bytes.capacity()) {
        return;
    }
    // Doubling keeps appending linear overall.
    std::size_t capacity = std::max(needed, kFirstCapacity);
    if (m_bytes.capacity() <= m_bytes.max_size() / 2) {
        capacity = std::max(capacity, 2 * m_bytes.capacity());
    }
    m_bytes.reserve(capacity);
}

void AlignedBuf::makeRoom(std::size_t n) {
    if (n > m_bytes.max_size() - m_size) {
        tooLong();
    }
    const std::size_t needed = m_size + n;
    reserveFor(needed);
    m_bytes.resize(std::max(needed, std::min(m_bytes.capacity(), m_size + kZeroStretch)));
}

void AlignedBuf::putRun(const unsigned char* bytes, unsigned int n) {
    if (bytes == nullptr && n != 0) {
        throw std::invalid_argument("AlignedBuf::put: null bytes with a non-zero count");
    }
    const std::uint64_t run = 4 + padded(n);
    if (run > m_bytes.max_size() - m_size) {
        tooLong();
    }
    // A run too long for the spare room is appended as it stands rather than
    // zeroed first and copied over: large blobs cost one copy.
    const std::size_t needed = m_size + static_cast<std::size_t>(run);
    m_bytes.resize(m_size);
    reserveFor(needed);
    unsigned char count[4];
    store32(count, n);
    m_bytes.insert(m_bytes.end(), count, count + 4);
    if (n != 0) {
        m_bytes.insert(m_bytes.end(), bytes, bytes + n);
    }
    m_bytes.resize(needed);  // the padding, zeroed
    m_size = needed;
}

void AlignedBuf::fail(const char* what, std::uint64_t needed) const {
    const std::uint64_t have = remaining();
    throw std::out_of_range("AlignedBuf: cannot read " + std::string(what) + " at offset " +
                            std::to_string(m_read) + ": " + std::to_string(needed - have) + " of " +
                            std::to_string(needed) + " bytes missing");
}

void AlignedBuf::failString() const {
    if (remaining() < 4) {
        fail("the length of a string", 4);
    }
    // Report the whole item (count and padded bytes) and keep the position.
    fail("a string", 4 + padded(load32(m_bytes.data() + m_read)));
}

}  // namespace Norv
