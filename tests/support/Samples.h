#ifndef NORVEXT_TESTS_SUPPORT_SAMPLES_H
#define NORVEXT_TESTS_SUPPORT_SAMPLES_H

// The sample objects of every persisted class, shared by the unit tests, the
// fuzz seeds and the norvext-dump samples. They are the JSON files of
// tests/samples (in norvext-dump's form, docs/json.md), one per object,
// named <class>-<index>. Each class has at least three:
//   [0] the default object (a query needs a term to be written at all),
//   [1] a typical one, with values as the suite's modules send them,
//   [2] an awkward one: -1 and top-of-range numbers, zero and high bytes,
//       empty and long strings, negative gap costs; no two fields of it
//       hold the same value, so two fields swapped change the bytes.
// Every sample is canonical: reading its bytes and writing the object again
// gives the same bytes. A file that does not load throws.

#include <norvext/NorvExt.h>

#include <norvutil/AlignedBuf.h>

#include <boost/core/demangle.hpp>

#include <string>
#include <typeinfo>
#include <vector>

namespace NorvTest {

// The samples of T, one of the eleven persisted classes (defined for those
// only).
template <class T>
std::vector<T> samples();

// The class's name without its namespace: "DBField" for Norv::DBField.
template <class T>
std::string className() {
    const std::string name = boost::core::demangle(typeid(T).name());
    return name.substr(name.rfind(':') + 1);
}

// The bytes that `object` writes.
template <class T>
std::vector<unsigned char> bytesOf(const T& object) {
    Norv::AlignedBuf buf;
    object.write(buf);
    return buf.bytes();
}

// The bytes of one sample, for the programs that save samples as files.
struct SampleFile {
    std::string className;  // as norvext-dump --type names it ("term" for every term)
    std::string name;       // <class>-<index>, the file's name without extension
    std::vector<unsigned char> bytes;
};

// Every sample of every persisted class, written.
std::vector<SampleFile> sampleFiles();

}  // namespace NorvTest

#endif
