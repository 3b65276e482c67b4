#ifndef NORVEXT_FUZZ_FUZZSUPPORT_H
#define NORVEXT_FUZZ_FUZZSUPPORT_H

// The harness shared by every fuzz target: a reader is given arbitrary bytes;
// it either succeeds or throws a standard exception. After a success the
// object must survive its own write and read: writing it, reading that into
// a fresh object and writing again gives the same bytes (this catches field
// orders that differ between write and read). Its dump must run too.

#include <norvutil/AlignedBuf.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <ostream>
#include <streambuf>
#include <vector>

namespace NorvFuzz {

// An output stream that swallows everything.
class NullStream : public std::ostream {
public:
    NullStream() : std::ostream(&m_buf) {}

private:
    struct NullBuf : std::streambuf {
        int overflow(int c) override { return c; }
        std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    } m_buf;
};

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline Norv::AlignedBuf bufferOf(const std::uint8_t* data, std::size_t size) {
    return Norv::AlignedBuf(std::vector<unsigned char>(data, data + size));
}

// `readFresh(buf)` builds an object from a buffer (returning it by value or
// by pointer-like handle); `write(object, buf)` and `dump(object, os)` use it.
// Standard exceptions from the first read are the expected outcome of bad
// bytes; anything else escapes and is a finding.
template <class ReadFresh, class Write, class Dump>
void checkReader(const std::uint8_t* data, std::size_t size, ReadFresh readFresh, Write write, Dump dump) {
    Norv::AlignedBuf input = bufferOf(data, size);
    decltype(readFresh(input)) object;
    try {
        object = readFresh(input);
    } catch (const std::exception&) {
        return;
    }
    Norv::AlignedBuf first;
    write(object, first);
    Norv::AlignedBuf again(first.bytes());
    auto copy = readFresh(again);  // must not throw: these are our own bytes
    Norv::AlignedBuf second;
    write(copy, second);
    if (first.bytes() != second.bytes()) {
        fail("write, read, write does not reproduce the bytes");
    }
    NullStream sink;
    dump(object, sink);
}

}  // namespace NorvFuzz

#endif
