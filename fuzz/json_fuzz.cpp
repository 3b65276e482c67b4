// The JSON mapping: the first byte picks the class (its place in the list
// of persisted classes, modulo their number; a term class stands for a term
// of any class), the rest is the JSON text. A text is either refused with a
// JsonError or read; the object read must write bytes that read back whole
// and write the same again, and its JSON must give those bytes again.
#include "FuzzSupport.h"

#include <norvext/json/JsonMapping.h>

namespace {

// How the bytes of T are read: a term of any class through the factory.
template <class T>
using Read = NorvFuzz::Reader<std::conditional_t<Norv::PersistedClass<T>::s_isTerm, Norv::DBTerm, T>>;

std::string printed(const Norv::DBTerm& term) { return NorvJson::termToJson(term); }
template <class T>
std::string printed(const T& object) {
    return NorvJson::toJson(object);
}

template <class T>
void check(const std::string& json) {
    std::vector<unsigned char> bytes;
    try {
        bytes = NorvTest::bytesFromJson<T>(json);
    } catch (const NorvJson::JsonError&) {
        return;
    }
    Norv::AlignedBuf buf(bytes);
    const auto again = Read<T>::readNew(buf);  // must not throw: the library's own bytes
    if (buf.tell() != buf.size() || NorvFuzz::bytesOf(Read<T>::object(again)) != bytes) {
        NorvFuzz::fail("JSON gives bytes that are not what the library writes for the object");
    }
    if (NorvTest::bytesFromJson<T>(printed(Read<T>::object(again))) != bytes) {
        NorvFuzz::fail("bytes to JSON to bytes does not reproduce the bytes");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string json(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t pick = data[0] % std::tuple_size<Norv::PersistedClasses>::value;
    std::size_t index = 0;
    Norv::forEachPersistedClass([&](auto entry) {
        if (index++ == pick) {
            check<typename decltype(entry)::Class>(json);
        }
    });
    return 0;
}
