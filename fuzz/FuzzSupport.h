#ifndef NORVEXT_FUZZ_FUZZSUPPORT_H
#define NORVEXT_FUZZ_FUZZSUPPORT_H

// The harness of the fuzz targets. An input's first byte picks the class
// (its place in the list of persisted classes, modulo their number); the
// rest is what the target feeds it. A reader is given arbitrary bytes; it
// either succeeds or throws one of the library's own exceptions (the
// buffer's std::out_of_range, std::length_error "vector<T> too long", or a
// std::runtime_error of the term factory or the boolean term). After a
// success the object must survive its own write and read: writing it,
// reading that back and writing again gives the same bytes. Its dump must
// run too, and where a class also has a constructor from a buffer, that and
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

using NorvTest::bytesOf;

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// Calls `run(entry)` with the entry of Norv::persistedClasses() that the
// first byte picks; nothing for an empty input.
template <class Run>
void withPickedClass(const std::uint8_t* data, std::size_t size, Run run) {
    std::size_t index = 0;
    Norv::forEachPersistedClass([&](auto entry) {
        if (size > 0 && index++ == data[0] % std::tuple_size<Norv::PersistedClasses>::value) {
            run(entry);
        }
    });
}

// Runs `read` and tells whether it succeeded. A failure must be one that the
// library promises, or a term of another class than the one picked; other
// standard exceptions abort here, other throws escape to libFuzzer.
template <class Read>
bool readsOrFailsCleanly(Read read) {
    const auto startsWith = [](const std::exception& e, const char* prefix) {
        return std::strncmp(e.what(), prefix, std::strlen(prefix)) == 0;
    };
    try {
        read();
        return true;
    } catch (const std::out_of_range& e) {
        if (!startsWith(e, "AlignedBuf: cannot read ")) {
            fail("std::out_of_range that is not the buffer's");
        }
    } catch (const std::length_error& e) {
        if (std::strcmp(e.what(), "vector<T> too long") != 0) {
            fail("std::length_error with another message than \"vector<T> too long\"");
        }
    } catch (const std::runtime_error& e) {
        if (!startsWith(e, "TermFactory::create: ") && !startsWith(e, "DBBooleanTerm::read: Invalid opcode: ") &&
            !startsWith(e, "the factory made a term of another class")) {
            fail("std::runtime_error with a message of neither the term factory nor the boolean term");
        }
    } catch (const std::exception&) {
        fail("a standard exception that no reader raises");
    }
    return false;
}

// The whole check of one input for class T.
template <class T>
void check(const std::uint8_t* data, std::size_t size) {
    const auto bufferOf = [data, size] { return Norv::AlignedBuf(std::vector<unsigned char>(data, data + size)); };
    Norv::AlignedBuf input = bufferOf();
    boost::optional<T> object;
    if (readsOrFailsCleanly([&] { object = NorvTest::readNew<T>(input); })) {
        const std::vector<unsigned char> first = bytesOf(*object);
        Norv::AlignedBuf again(first);
        if (first != bytesOf(NorvTest::readNew<T>(again))) {  // must not throw: these are our own bytes
            fail("write, read, write does not reproduce the bytes");
        }
        std::ostringstream sink;
        object->dump(sink, 0);
    }
    if constexpr (std::is_constructible<T, Norv::AlignedBuf&>::value) {
        Norv::AlignedBuf forConstructor = bufferOf(), forRead = bufferOf();
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
