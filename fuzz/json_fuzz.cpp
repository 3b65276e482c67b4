// The JSON mapping: the first byte picks the class, the rest is the JSON
// text. A text is either refused with a JsonError or read; the object read
// must write bytes that read back whole and write the same again, and its
// JSON must give those bytes again.
#include "FuzzSupport.h"

#include <norvext/json/JsonMapping.h>

namespace {

template <class T>
void check(const std::string& json) {
    boost::optional<T> object;
    try {
        object = NorvJson::fromJson<T>(json);
    } catch (const NorvJson::JsonError&) {
        return;
    }
    const std::vector<unsigned char> bytes = NorvFuzz::bytesOf(*object);
    Norv::AlignedBuf buf(bytes);
    const T again = NorvTest::readNew<T>(buf);  // must not throw: the library's own bytes
    if (buf.tell() != buf.size() || NorvFuzz::bytesOf(again) != bytes) {
        NorvFuzz::fail("JSON gives bytes that are not what the library writes for the object");
    }
    if (NorvFuzz::bytesOf(NorvJson::fromJson<T>(NorvJson::toJson(again))) != bytes) {
        NorvFuzz::fail("bytes to JSON to bytes does not reproduce the bytes");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::withPickedClass(data, size, [&](auto entry) {
        check<typename decltype(entry)::Class>(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    });
    return 0;
}
