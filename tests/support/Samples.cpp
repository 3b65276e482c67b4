#include "tests/support/Samples.h"
#include "tests/support/SampleTexts.h"

#include <DumpTypes.h>
#include <JsonMapping.h>

#include <norvutil/AlignedBuf.h>

#include <cstring>
#include <stdexcept>
#include <type_traits>

namespace NorvTest {

namespace {

NorvJson::Json parsed(const internal::SampleText& text) {
    return NorvJson::parseJson(reinterpret_cast<const unsigned char*>(text.json), std::strlen(text.json));
}

// "DBField" of "DBField-2".
std::string classOf(const std::string& name) { return name.substr(0, name.rfind('-')); }

template <class T>
T objectOf(const NorvJson::JsonNode& node) {
    if constexpr (std::is_base_of<Norv::DBTerm, T>::value) {
        const auto term = boost::dynamic_pointer_cast<T>(NorvJson::termFromJson(node));
        if (!term) {
            throw std::logic_error("a sample term of another class than its file says");
        }
        return *term;
    } else {
        return NorvJson::fromJson<T>(node);
    }
}

// The texts come ordered by name: index 0 first (at most ten a class).
template <class T>
std::vector<T> load(const std::string& className) {
    std::vector<T> all;
    for (const internal::SampleText& text : internal::sampleTexts()) {
        if (classOf(text.name) == className) {
            all.push_back(objectOf<T>(NorvJson::JsonNode(parsed(text), text.name)));
        }
    }
    if (all.size() < 3) {
        throw std::logic_error("fewer than three samples of " + className);
    }
    return all;
}

}  // namespace

template <class T>
std::vector<T> samples() {
    return load<T>(className<T>());
}

#define NORV_SAMPLES(T) template std::vector<Norv::T> samples<Norv::T>();
NORV_SAMPLES(DBField)
NORV_SAMPLES(DBDatabase)
NORV_SAMPLES(QueryDBInfo)
NORV_SAMPLES(XBlastDBInfo)
NORV_SAMPLES(DBStringTerm)
NORV_SAMPLES(DBRangeTerm)
NORV_SAMPLES(DBBooleanTerm)
NORV_SAMPLES(Summary)
NORV_SAMPLES(DBQuery)
NORV_SAMPLES(XBlastParams)
NORV_SAMPLES(FastAParams)
#undef NORV_SAMPLES

std::vector<SampleFile> sampleFiles() {
    std::vector<SampleFile> files;
    for (const internal::SampleText& text : internal::sampleTexts()) {
        const std::string className = classOf(text.name);
        const std::string type = className.find("Term") != std::string::npos ? "term" : className;
        Norv::AlignedBuf buf;
        NorvDump::findDumpType(type)->writeFromJson(NorvJson::JsonNode(parsed(text), text.name), buf);
        files.push_back({type, text.name, buf.bytes()});
    }
    return files;
}

}  // namespace NorvTest
