#ifndef NORVEXT_TESTS_SUPPORT_SAMPLES_H
#define NORVEXT_TESTS_SUPPORT_SAMPLES_H

// The sample objects of every persisted class, shared by the unit tests and
// the fuzz targets. They are the JSON files of tests/samples (docs/json.md),
// one per object, named <class>-<index>, read where they lie. Each
// class has at least three:
//   [0] the default object (a query needs a term to be written at all),
//   [1] a typical one, with values as the suite's modules send them,
//   [2] an awkward one: -1 and top-of-range numbers, zero and high bytes,
//       empty and long strings, negative gap costs; no two fields of it
//       hold the same value, so two fields swapped change the bytes.
// Every sample is canonical: reading its bytes and writing the object again
// gives the same bytes. A file that does not load throws.

#include <norvext/PersistedClasses.h>
#include <norvext/json/JsonMapping.h>
#include <norvutil/AlignedBuf.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace NorvTest {

namespace internal {

// The text of tests/samples/`name`.json into `json`; false when there is no
// such file.
bool sampleText(const std::string& name, std::string& json);

}  // namespace internal

// The samples of T, one of the persisted classes: <Class>-0.json, -1, ...
// up to the first number missing, read once.
template <class T>
std::vector<T> samples() {
    static const std::vector<T> all = [] {
        const std::string name = Norv::persistedClassName<T>();
        std::vector<T> read;
        for (std::string file = name + "-0", json; internal::sampleText(file, json);
             file = name + "-" + std::to_string(read.size())) {
            try {
                read.push_back(NorvJson::fromJson<T>(json));
            } catch (const NorvJson::JsonError& e) {
                throw std::logic_error(file + ".json: " + e.what());
            }
        }
        if (read.size() < 3) {
            throw std::logic_error("fewer than three samples of " + name);
        }
        return read;
    }();
    return all;
}

// What `object` dumps at `level`.
template <class T>
std::string dumpOf(const T& object, int level = 0) {
    std::ostringstream os;
    object.dump(os, level);
    return os.str();
}

// The bytes that `object` writes.
template <class T>
std::vector<unsigned char> bytesOf(const T& object) {
    Norv::AlignedBuf buf;
    object.write(buf);
    return buf.bytes();
}

// The message of the exception of type E that `action` throws; "no
// exception" when it throws none.
template <class E = std::runtime_error, class Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const E& error) {
        return error.what();
    }
    return "no exception";
}

// An object of T read from `buf`: into a default object, or for a term
// through the factory, which takes the type code in front. Whatever reading
// throws passes through; a term of another class throws std::runtime_error.
template <class T>
T readNew(Norv::AlignedBuf& buf) {
    if constexpr (Norv::PersistedClass<T>::s_isTerm) {
        const auto term = boost::dynamic_pointer_cast<T>(Norv::DBTerm::create(buf));
        if (!term) {
            throw std::runtime_error(std::string("the factory made a term of another class than ") + Norv::persistedClassName<T>());
        }
        return *term;
    } else {
        T object;
        object.read(buf);
        return object;
    }
}

// The contents of the file at `path`, byte for byte. Throws
// std::runtime_error when the file cannot be read.
std::string fileText(const std::string& path);

}  // namespace NorvTest

#endif
