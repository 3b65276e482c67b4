#ifndef NORVEXT_COMMON_INTERNAL_PERSIST_H
#define NORVEXT_COMMON_INTERNAL_PERSIST_H

// Helpers of the persisted classes: the one way each of them puts and gets
// strings and byte blobs, and sizes vectors from counts read off a buffer.

#include <norvutil/AlignedBuf.h>

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace Norv {
namespace internal {

// A string travels as its byte length and its bytes (zero bytes included).
inline void putString(AlignedBuf& buf, const std::string& text) {
    buf.put(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned int>(text.size()));
}

// A byte blob travels like a string.
inline void putBytes(AlignedBuf& buf, const std::vector<char>& bytes) {
    buf.put(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned int>(bytes.size()));
}

// Reads a blob as its count, then the bytes by gets(); the bytes replace
// `bytes` only once they have all been read.
inline void getBytes(AlignedBuf& buf, std::vector<char>& bytes) {
    unsigned int count = 0;
    buf.get(count);
    const char* data = buf.gets(count);
    bytes.assign(data, data + count);
}

// Elements reserved ahead at most, whatever count a buffer announces.
constexpr std::size_t kReserveStep = 1024;

// Makes room for `count` more elements announced by a buffer. A buffer is
// untrusted, so at most kReserveStep of them are reserved up front and the
// vector grows with the elements actually read. Throws std::length_error
// "vector<T> too long" when the vector could not hold them all.
template <class T>
void reserveAnnounced(std::vector<T>& elements, unsigned int count) {
    if (count > elements.max_size() - elements.size()) {
        throw std::length_error("vector<T> too long");
    }
    elements.reserve(elements.size() + std::min<std::size_t>(count, kReserveStep));
}

}  // namespace internal
}  // namespace Norv

#endif
