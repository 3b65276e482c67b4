#include <norvutil/AlignedBuf.h>

#include <stdexcept>

namespace Norv {

void AlignedBuf::put(const unsigned char* bytes, unsigned int n) {
    if (bytes == nullptr && n != 0) {
        throw std::invalid_argument("AlignedBuf::put: null bytes with a non-zero count");
    }
    const std::size_t run = static_cast<std::size_t>(padded(n));
    m_bytes.reserve(m_bytes.size() + 4 + run);
    put(n);
    unsigned char* out = grow(run);  // zero-filled, so the padding is zero
    if (n != 0) {
        std::memcpy(out, bytes, n);
    }
}

void AlignedBuf::get(std::string& value) {
    if (remaining() < 4) {
        fail("the length of a string", 4);
    }
    const std::uint32_t n = load32(m_bytes.data() + m_read);
    if (remaining() - 4 < padded(n)) {
        // Report the whole item (count and padded bytes) and keep the position.
        fail("a string", 4 + padded(n));
    }
    value.assign(reinterpret_cast<const char*>(m_bytes.data() + m_read + 4), n);
    m_read += 4 + static_cast<std::size_t>(padded(n));
}

const char* AlignedBuf::gets(unsigned int n) {
    if (n == 0) {
        return "";
    }
    return reinterpret_cast<const char*>(take(padded(n), "a byte run"));
}

void AlignedBuf::fail(const char* what, std::uint64_t needed) const {
    const std::uint64_t have = remaining();
    throw std::out_of_range("AlignedBuf: cannot read " + std::string(what) + " at offset " +
                            std::to_string(m_read) + ": " + std::to_string(needed - have) +
                            " of " + std::to_string(needed) + " bytes missing");
}

}  // namespace Norv
