#ifndef NORVEXT_COMMON_INTERNAL_PERSIST_H
#define NORVEXT_COMMON_INTERNAL_PERSIST_H

// Helpers of the persisted classes: the one way each of them puts and gets
// strings and byte blobs, and sizes vectors from counts read off a buffer.

#include <norvutil/AlignedBuf.h>

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

// Checks a count of elements announced by a buffer, before any of them is
// read. A buffer is untrusted, so its count reserves nothing ahead: the
// vector grows with the elements actually read, and the memory a read takes
// follows the bytes it was given, never the number they announce (a short
// buffer that announces 4294967295 elements fails where its data ends,
// having cost nothing). Throws std::length_error "vector<T> too long" when
// the vector could never hold them all.
template <class T>
void checkAnnouncedCount(const std::vector<T>& elements, unsigned int count) {
    if (count > elements.max_size() - elements.size()) {
        throw std::length_error("vector<T> too long");
    }
}

}  // namespace internal
}  // namespace Norv

#endif
