#ifndef NORVEXT_TESTS_SUPPORT_WORDS_H
#define NORVEXT_TESTS_SUPPORT_WORDS_H

// Test helpers that look at a buffer's bytes independently of the reader.

#include <norvutil/AlignedBuf.h>

#include <cstdint>
#include <string>
#include <vector>

namespace NorvTest {

// The buffer's bytes as little-endian 32-bit words.
inline std::vector<std::uint32_t> words(const Norv::AlignedBuf& buf) {
    const unsigned char* bytes = buf.data();
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i + 4 <= buf.size(); i += 4) {
        out.push_back(static_cast<std::uint32_t>(bytes[i]) | static_cast<std::uint32_t>(bytes[i + 1]) << 8 |
                      static_cast<std::uint32_t>(bytes[i + 2]) << 16 | static_cast<std::uint32_t>(bytes[i + 3]) << 24);
    }
    return out;
}

// A string with bytes that C strings would lose or mangle.
inline std::string awkwardText() { return std::string("a\0b\xff\x80z", 6); }

}  // namespace NorvTest

#endif
