#include "DumpTypes.h"

#include <norvext/PersistedClasses.h>
#include <norvext/json/JsonMapping.h>
#include <norvutil/AlignedBuf.h>

#include <ostream>

namespace NorvDump {

namespace {

// An object of T as read from a buffer: T itself, or for the term classes a
// term of any class, made by the term factory from its type code.
template <class T>
auto readObject(Norv::AlignedBuf& buf) {
    if constexpr (Norv::PersistedClass<T>::s_isTerm) {
        return Norv::DBTerm::create(buf);
    } else {
        auto object = std::make_shared<T>();
        object->read(buf);
        return object;
    }
}

std::string jsonOf(const Norv::DBTerm& term) { return NorvJson::termToJson(term); }
template <class T>
std::string jsonOf(const T& object) {
    return NorvJson::toJson(object);
}

// The object is printed only once it has been read whole.
template <class T>
void readAndDump(Norv::AlignedBuf& buf, std::ostream& os) {
    readObject<T>(buf)->dump(os, 0);
}

template <class T>
std::string readAsJson(Norv::AlignedBuf& buf, std::vector<unsigned char>& rewritten) {
    const auto object = readObject<T>(buf);
    Norv::AlignedBuf again;
    object->write(again);
    rewritten = again.bytes();
    return jsonOf(*object);
}

template <class T>
void writeFromJson(const std::string& json, Norv::AlignedBuf& buf) {
    if constexpr (Norv::PersistedClass<T>::s_isTerm) {
        NorvJson::termFromJson(json)->write(buf);
    } else {
        NorvJson::fromJson<T>(json).write(buf);
    }
}

std::vector<DumpType> makeTypes() {
    std::vector<DumpType> types;
    bool haveTerm = false;
    Norv::forEachPersistedClass([&](auto entry) {
        using T = typename decltype(entry)::Class;
        if (decltype(entry)::s_isTerm) {
            if (haveTerm) {
                return;
            }
            haveTerm = true;
            types.push_back({"term", "a query term of any class, type code first (the term factory)", &readAndDump<T>,
                             &readAsJson<T>, &writeFromJson<T>});
        } else {
            types.push_back({entry.name, entry.what, &readAndDump<T>, &readAsJson<T>, &writeFromJson<T>});
        }
    });
    return types;
}

}  // namespace

const std::vector<DumpType>& dumpTypes() {
    static const std::vector<DumpType> types = makeTypes();
    return types;
}

const DumpType* findDumpType(const std::string& name) {
    for (const DumpType& type : dumpTypes()) {
        if (name == type.name) {
            return &type;
        }
    }
    return nullptr;
}

}  // namespace NorvDump
