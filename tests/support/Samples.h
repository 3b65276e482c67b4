#ifndef NORVEXT_TESTS_SUPPORT_SAMPLES_H
#define NORVEXT_TESTS_SUPPORT_SAMPLES_H

// The sample objects of every persisted class, shared by the unit tests, the
// fuzz seeds and the norvext-dump samples. They are the JSON files of
// tests/samples (docs/json.md), one per object, named <class>-<index>. Each
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

// One file of tests/samples: "<Class>-<index>" and its JSON text.
struct SampleText {
    const char* name;
    const char* json;
};

// Every sample file, ordered by name.
const std::vector<SampleText>& sampleTexts();

}  // namespace internal

// The samples of T, one of the persisted classes.
template <class T>
std::vector<T> samples() {
    const std::string name = Norv::persistedClassName<T>();
    std::vector<T> all;
    for (const internal::SampleText& text : internal::sampleTexts()) {
        if (std::string(text.name).rfind(name + "-", 0) != 0) {
            continue;
        }
        try {
            all.push_back(NorvJson::fromJson<T>(text.json));
        } catch (const NorvJson::JsonError& e) {
            throw std::logic_error(std::string(text.name) + ".json: " + e.what());
        }
    }
    if (all.size() < 3) {
        throw std::logic_error("fewer than three samples of " + name);
    }
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

// The bytes of the object that `json` describes as T; for a term class, a
// term of any class. Throws NorvJson::JsonError.
template <class T>
std::vector<unsigned char> bytesFromJson(const std::string& json) {
    if constexpr (Norv::PersistedClass<T>::s_isTerm) {
        return bytesOf(*NorvJson::termFromJson(json));
    } else {
        return bytesOf(NorvJson::fromJson<T>(json));
    }
}

// An object of T read from `buf`: into a default object, or for a term
// through the factory, which takes the type code in front. Whatever reading
// throws passes through; a term of another class throws std::logic_error.
template <class T>
T readNew(Norv::AlignedBuf& buf) {
    if constexpr (Norv::PersistedClass<T>::s_isTerm) {
        const auto term = boost::dynamic_pointer_cast<T>(Norv::DBTerm::create(buf));
        if (!term) {
            throw std::logic_error(std::string("the factory made a term of another class than ") + Norv::persistedClassName<T>());
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
