#ifndef NORVEXT_FUZZ_FUZZSUPPORT_H
#define NORVEXT_FUZZ_FUZZSUPPORT_H

// The harness of the fuzz targets. A reader is given arbitrary bytes; it
// either succeeds or throws one of the library's own exceptions (the buffer's
// std::out_of_range, std::length_error "vector<T> too long", or a
// std::runtime_error of the term factory or the boolean term). After a
// success the object must survive its own write and read: writing it,
// reading that back and writing again gives the same bytes. Its dump must run
// too, and where a class also has a constructor from a buffer, that and
// read() into an object in use must agree.

#include "tests/support/Samples.h"

#include <norvutil/AlignedBuf.h>

#include <boost/optional.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace NorvFuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline Norv::AlignedBuf bufferOf(const std::uint8_t* data, std::size_t size) {
    return Norv::AlignedBuf(std::vector<unsigned char>(data, data + size));
}

// Runs `read` and tells whether it succeeded. A failure must be one that the
// library promises; other standard exceptions abort here, other throws
// escape to libFuzzer.
template <class Read>
bool readsOrFailsCleanly(Read read) {
    const auto startsWith = [](const char* text, const char* prefix) {
        return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
    };
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

using NorvTest::bytesOf;

// How a class is read from bytes that may be anything: into a default
// object, or for DBTerm through the term factory.
template <class T>
struct Reader {
    using Handle = T;
    static T readNew(Norv::AlignedBuf& buf) {
        T object;
        object.read(buf);
        return object;
    }
    static const T& object(const T& handle) { return handle; }
};

template <>
struct Reader<Norv::DBTerm> {
    using Handle = boost::shared_ptr<Norv::DBTerm>;
    static Handle readNew(Norv::AlignedBuf& buf) {
        Handle term = Norv::DBTerm::create(buf);
        if (!term) {
            fail("the term factory returned a null term");
        }
        return term;
    }
    static const Norv::DBTerm& object(const Handle& handle) { return *handle; }
};

// The whole check of one input for class T.
template <class T>
void check(const std::uint8_t* data, std::size_t size) {
    using R = Reader<T>;
    Norv::AlignedBuf input = bufferOf(data, size);
    typename R::Handle handle;
    const bool read = readsOrFailsCleanly([&] { handle = R::readNew(input); });
    if (read) {
        const std::vector<unsigned char> first = bytesOf(R::object(handle));
        Norv::AlignedBuf again(first);
        const typename R::Handle copy = R::readNew(again);  // must not throw: these are our own bytes
        if (first != bytesOf(R::object(copy))) {
            fail("write, read, write does not reproduce the bytes");
        }
        std::ostringstream sink;
        R::object(handle).dump(sink, 0);
    }
    if constexpr (std::is_constructible<T, Norv::AlignedBuf&>::value) {
        Norv::AlignedBuf forConstructor = bufferOf(data, size);
        Norv::AlignedBuf forRead = bufferOf(data, size);
        boost::optional<T> constructed;
        T inUse = NorvTest::samples<T>()[1];
        if (readsOrFailsCleanly([&] { constructed.emplace(forConstructor); }) !=
            readsOrFailsCleanly([&] { inUse.read(forRead); })) {
            fail("the constructor from a buffer and read() disagree on success");
        }
        if (constructed && bytesOf(*constructed) != bytesOf(inUse)) {
            fail("the constructor from a buffer and read() into an object in use give different objects");
        }
    }
}

}  // namespace NorvFuzz

#endif
