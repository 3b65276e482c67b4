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

#include <string>
#include <vector>

namespace NorvTest {

template <class T>
std::vector<T> samples();
template <>
std::vector<Norv::DBField> samples();
template <>
std::vector<Norv::DBDatabase> samples();
template <>
std::vector<Norv::QueryDBInfo> samples();
template <>
std::vector<Norv::XBlastDBInfo> samples();
template <>
std::vector<Norv::DBStringTerm> samples();
template <>
std::vector<Norv::DBRangeTerm> samples();
template <>
std::vector<Norv::DBBooleanTerm> samples();
template <>
std::vector<Norv::Summary> samples();
template <>
std::vector<Norv::DBQuery> samples();
template <>
std::vector<Norv::XBlastParams> samples();
template <>
std::vector<Norv::FastAParams> samples();

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
