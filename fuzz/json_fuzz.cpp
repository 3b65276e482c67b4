// The JSON reader of norvext-dump: the first byte picks the type (its value
// modulo the number of types, in --list-types order), the rest is
// the JSON text. A text is either refused with a JsonError (or the JSON
// library's exception for bad syntax) or encoded; encoded bytes must be the library's own
// (they read back whole and write back the same) and their JSON must encode
// to the same bytes again.
#include "FuzzSupport.h"

#include <DumpTypes.h>

namespace {

std::vector<unsigned char> encoded(const NorvDump::DumpType& type, const NorvJson::Json& json) {
    Norv::AlignedBuf buf;
    type.writeFromJson(NorvJson::JsonNode(json), buf);
    return buf.bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto& types = NorvDump::dumpTypes();
    const NorvDump::DumpType& type = types[data[0] % types.size()];
    std::vector<unsigned char> bytes;
    try {
        bytes = encoded(type, NorvJson::parseJson(data + 1, size - 1));
    } catch (const NorvJson::Json::exception&) {
        return 0;  // bad syntax
    } catch (const NorvJson::JsonError&) {
        return 0;
    }
    Norv::AlignedBuf buf(bytes);
    std::vector<unsigned char> rewritten;
    const NorvJson::Json again = type.readAsJson(buf, rewritten);  // must not throw: the library's own bytes
    if (buf.tell() != buf.size() || rewritten != bytes) {
        NorvFuzz::fail("encoded bytes are not what the library writes for the object");
    }
    if (encoded(type, again) != bytes) {
        NorvFuzz::fail("bytes to JSON to bytes does not reproduce the bytes");
    }
    return 0;
}
