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

// A vector of children travels as its element count, then each element.
// Writes the count, then calls `writeOne(element)` for each in order.
template <class T, class WriteOne>
void writeElements(AlignedBuf& buf, const std::vector<T>& elements, WriteOne writeOne) {
    buf.put(static_cast<unsigned int>(elements.size()));
    for (const T& element : elements) {
        writeOne(element);
    }
}

// Room a read reserves ahead of the elements that have arrived, in bytes.
constexpr std::size_t kReserveAheadBytes = 4096;

// Appends `count` elements to `elements`, each made by `readOne(buf)`. A
// buffer is untrusted, so the count is never reserved as announced: room is
// reserved for at most kReserveAheadBytes of elements at first, then, as
// elements arrive, for as many again as have arrived, never past the count.
// The memory a read takes thus follows the elements actually read (a short
// buffer that announces 4294967295 elements fails where its data ends,
// having cost a few KiB), while an honest count costs a few reallocations
// and ends with the vector no larger than it. Whatever readOne throws passes
// through, leaving the elements read before it appended.
template <class T, class ReadOne>
void appendElements(AlignedBuf& buf, unsigned int count, std::vector<T>& elements, ReadOne readOne) {
    const std::size_t ahead = std::max<std::size_t>(1, kReserveAheadBytes / sizeof(T));
    for (std::size_t left = count; left > 0; --left) {
        if (elements.size() == elements.capacity()) {
            elements.reserve(elements.size() + std::min(left, std::max(ahead, elements.size())));
        }
        elements.push_back(readOne(buf));
    }
}

// Reads an element count, then appends that many elements to the ones
// already there. No count is refused up front: one that no vector could hold
// fails where the buffer's data ends, as any other short buffer does.
template <class T, class ReadOne>
void appendElements(AlignedBuf& buf, std::vector<T>& elements, ReadOne readOne) {
    unsigned int count = 0;
    buf.get(count);
    appendElements(buf, count, elements, readOne);
}

// Reads an element count, then that many elements into `elements` (a vector
// the caller has just made, to swap in once it is whole). Throws
// std::length_error "vector<T> too long" before reading any element when the
// vector could never hold them all.
template <class T, class ReadOne>
void readElements(AlignedBuf& buf, std::vector<T>& elements, ReadOne readOne) {
    unsigned int count = 0;
    buf.get(count);
    if (count > elements.max_size() - elements.size()) {
        throw std::length_error("vector<T> too long");
    }
    appendElements(buf, count, elements, readOne);
}

}  // namespace internal
}  // namespace Norv

#endif
