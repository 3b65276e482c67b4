#include "JsonEncoding.h"

#include <norvext/common/internal/Utf8.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace NorvJson {
namespace internal {

namespace {

const char kBase64Key[] = "base64";
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string base64(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return out;
}

namespace {

// The bytes of a base64 text in the form base64() writes: a length that is a
// multiple of 4, padding only at the end, unused bits zero.
bool unbase64(const std::string& text, std::string& bytes) {
    if (text.size() % 4 != 0) {
        return false;
    }
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        std::uint32_t group = 0;
        std::size_t pads = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=' && last && k >= 2) {
                ++pads;
                group <<= 6;
                continue;
            }
            const char* at = c == '\0' ? nullptr : std::strchr(kAlphabet, c);
            if (at == nullptr || pads > 0) {
                return false;
            }
            group = (group << 6) | static_cast<std::uint32_t>(at - kAlphabet);
        }
        if ((pads == 1 && (group & 0xFF) != 0) || (pads == 2 && (group & 0xFFFF) != 0)) {
            return false;
        }
        for (std::size_t k = 0; k < 3 - pads; ++k) {
            bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
        }
    }
    return true;
}

std::uint64_t bitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

const std::uint64_t kDefaultNaN = bitsOf(std::numeric_limits<double>::quiet_NaN());

}  // namespace

Json bytesToJson(const std::string& bytes) {
    // Well-formed UTF-8 is what the JSON library accepts as a string.
    if (Norv::internal::isUtf8(bytes)) {
        return bytes;
    }
    Json object = Json::object();
    object[kBase64Key] = base64(bytes);
    return object;
}

std::string bytesFromJson(const JsonNode& node) {
    if (node.value().is_string()) {
        return node.text();
    }
    if (!node.value().is_object()) {
        node.fail("expected a string or {\"base64\": ...}, found " + std::string(node.value().type_name()));
    }
    node.expectMembers({kBase64Key});
    const JsonNode text = node.member(kBase64Key);
    std::string bytes;
    if (!unbase64(text.text(), bytes)) {
        text.fail("not base64 (A-Z a-z 0-9 + /, padded with = to a multiple of 4)");
    }
    return bytes;
}

Json realToJson(double value) {
    if (std::isfinite(value)) {
        return value;
    }
    if (std::isinf(value)) {
        return value > 0 ? "Infinity" : "-Infinity";
    }
    const std::uint64_t bits = bitsOf(value);
    if (bits == kDefaultNaN) {
        return "NaN";
    }
    char text[24];
    std::snprintf(text, sizeof text, "NaN:%016llx", static_cast<unsigned long long>(bits));
    return std::string(text);
}

double realFromJson(const JsonNode& node) {
    const Json& value = node.value();
    if (value.is_number()) {
        return value.get<double>();
    }
    if (!value.is_string()) {
        node.fail("expected a number, \"Infinity\", \"-Infinity\" or \"NaN\", found " + std::string(value.type_name()));
    }
    const std::string& text = node.text();
    if (text == "Infinity" || text == "-Infinity") {
        return text[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    if (text == "NaN") {
        return std::numeric_limits<double>::quiet_NaN();
    }
    unsigned long long bits = 0;
    char tail = 0;
    double nan = 0;
    // Exactly 16 hex digits after "NaN:", and the bits must be a NaN's.
    if (text.size() == 20 && text.compare(0, 4, "NaN:") == 0 && text.find_first_not_of("0123456789abcdef", 4) == std::string::npos &&
        std::sscanf(text.c_str() + 4, "%16llx%c", &bits, &tail) == 1) {
        const std::uint64_t wide = bits;
        std::memcpy(&nan, &wide, sizeof nan);
        if (std::isnan(nan)) {
            return nan;
        }
    }
    node.fail("'" + text + "' is not a number: expected \"Infinity\", \"-Infinity\", \"NaN\" or \"NaN:\" and 16 hex digits of a NaN");
}

}  // namespace internal
}  // namespace NorvJson
