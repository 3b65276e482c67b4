#ifndef NORVEXT_FUZZ_FUZZSUPPORT_H
#define NORVEXT_FUZZ_FUZZSUPPORT_H

// The harness shared by every fuzz target: a reader is given arbitrary bytes;
// it either succeeds or throws one of the library's standard exceptions (the
// buffer's std::out_of_range, std::length_error "vector<T> too long", or a
// std::runtime_error of the term factory or the boolean term). After a
// success the object must survive its own write and read: writing it,
// reading that into a fresh object and writing again gives the same bytes
// (this catches field orders that differ between write and read). Its dump
// must run too.

#include <norvutil/AlignedBuf.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <ostream>
#include <stdexcept>
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

inline bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Runs `read` (which reads from bytes that may be anything) and tells whether
// it succeeded. A failure must be one that the library promises; anything
// else is a finding: other standard exceptions abort here, other throws
// escape to libFuzzer.
template <class Read>
bool readsOrFailsCleanly(Read read) {
    try {
        read();
        return true;
    } catch (const std::out_of_range& e) {
        if (!startsWith(e.what(), "AlignedBuf: cannot read ")) {
            fail("std::out_of_range that is not the buffer's");
        }
    } catch (const std::length_error& e) {
        if (std::strcmp(e.what(), "vector<T> too long") != 0) {
            fail("std::length_error with another message than \"vector<T> too long\"");
        }
    } catch (const std::runtime_error& e) {
        if (!startsWith(e.what(), "TermFactory::create: ") && !startsWith(e.what(), "DBBooleanTerm::read: Invalid opcode: ")) {
            fail("std::runtime_error with a message of neither the term factory nor the boolean term");
        }
    } catch (const std::exception&) {
        fail("a standard exception that no reader raises");
    }
    return false;
}

// The bytes that `write(object, buf)` puts into an empty buffer.
template <class Object, class Write>
std::vector<unsigned char> bytesOf(const Object& object, Write write) {
    Norv::AlignedBuf buf;
    write(object, buf);
    return buf.bytes();
}

// `readFresh(buf)` builds an object from a buffer (returning it by value or
// by pointer-like handle); `write(object, buf)` and `dump(object, os)` use it.
// Returns whether the bytes were read; on success the write/read/write and
// dump checks have passed.
template <class ReadFresh, class Write, class Dump>
bool checkReader(const std::uint8_t* data, std::size_t size, ReadFresh readFresh, Write write, Dump dump) {
    Norv::AlignedBuf input = bufferOf(data, size);
    decltype(readFresh(input)) object;
    if (!readsOrFailsCleanly([&] { object = readFresh(input); })) {
        return false;
    }
    const std::vector<unsigned char> first = bytesOf(object, write);
    Norv::AlignedBuf again(first);
    auto copy = readFresh(again);  // must not throw: these are our own bytes
    if (first != bytesOf(copy, write)) {
        fail("write, read, write does not reproduce the bytes");
    }
    NullStream sink;
    dump(object, sink);
    return true;
}

// For a class with both a constructor from a buffer and read(): the two ways
// must agree on the same bytes, both failing or both giving the same object.
template <class ReadA, class ReadB, class Write>
void checkReadersAgree(const std::uint8_t* data, std::size_t size, ReadA readA, ReadB readB, Write write) {
    Norv::AlignedBuf inputA = bufferOf(data, size);
    Norv::AlignedBuf inputB = bufferOf(data, size);
    decltype(readA(inputA)) a;
    decltype(readB(inputB)) b;
    const bool aRead = readsOrFailsCleanly([&] { a = readA(inputA); });
    const bool bRead = readsOrFailsCleanly([&] { b = readB(inputB); });
    if (aRead != bRead) {
        fail("the constructor from a buffer and read() disagree on success");
    }
    if (aRead && bytesOf(a, write) != bytesOf(b, write)) {
        fail("the constructor from a buffer and read() give different objects");
    }
}

// Both checks for a class T with a constructor from a buffer, write(), read()
// and dump(): the constructor is the reader; read() into a copy of `filled`
// (an object holding values that a read must replace) has to agree with it.
// Returns whether the bytes were read.
template <class T>
bool checkBufferConstructed(const std::uint8_t* data, std::size_t size, const T& filled) {
    const auto construct = [](Norv::AlignedBuf& buf) { return T(buf); };
    const auto write = [](const T& object, Norv::AlignedBuf& buf) { object.write(buf); };
    const auto readIntoFilled = [&filled](Norv::AlignedBuf& buf) {
        T object(filled);
        object.read(buf);
        return object;
    };
    const bool read = checkReader(data, size, construct, write, [](const T& object, std::ostream& os) { object.dump(os, 0); });
    checkReadersAgree(data, size, construct, readIntoFilled, write);
    return read;
}

}  // namespace NorvFuzz

#endif
