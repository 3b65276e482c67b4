#include <norvext/json/JsonText.h>

#include <norvext/common/internal/Utf8.h>

#include "internal/JsonEncoding.h"

#include <charconv>
#include <cmath>

namespace NorvJson {

JsonText& JsonText::integer(long long value) {
    char text[24];
    appendUpTo(text, std::to_chars(text, text + sizeof text, value).ptr);
    return *this;
}

JsonText& JsonText::real(double value) {
    if (!std::isfinite(value)) {
        m_out += internal::realToJson(value).dump();
        return *this;
    }
    char text[32];
    appendUpTo(text, std::to_chars(text, text + sizeof text, value).ptr);
    return *this;
}

JsonText& JsonText::pairs(const std::vector<std::pair<int, int>>& values) {
    m_out += '[';
    const char* separator = "";
    for (const auto& pair : values) {
        raw(separator).raw("[").integer(pair.first).raw(",").integer(pair.second).raw("]");
        separator = ",";
    }
    m_out += ']';
    return *this;
}

namespace {

// Whether a byte goes into a JSON string as it is: not a control character,
// a quote or a backslash (bytes of UTF-8 sequences do).
bool isPlain(unsigned char byte) { return byte >= 0x20 && byte != '"' && byte != '\\'; }

// Whether every byte is plain and ASCII, as the letters of an alignment
// and most titles are: the string then goes as it is, after one look.
bool isPlainAscii(const std::string& bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || !isPlain(byte)) {
            return false;
        }
    }
    return true;
}

}  // namespace

JsonText& JsonText::text(const std::string& bytes) {
    if (isPlainAscii(bytes)) {
        m_out += '"';
        m_out += bytes;
        m_out += '"';
        return *this;
    }
    if (!Norv::internal::isUtf8(bytes)) {
        m_out += "{\"base64\":\"" + internal::base64(bytes) + "\"}";
        return *this;
    }
    m_out += '"';
    // Runs of plain bytes are copied whole.
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    while (at != end) {
        const char* run = at;
        while (run != end && isPlain(static_cast<unsigned char>(*run))) {
            ++run;
        }
        m_out.append(at, static_cast<std::size_t>(run - at));
        if (run == end) {
            break;
        }
        const auto byte = static_cast<unsigned char>(*run);
        if (byte == '"' || byte == '\\') {
            m_out += '\\';
            m_out += *run;
        } else {
            static const char kHex[] = "0123456789abcdef";
            m_out += "\\u00";
            m_out += kHex[byte >> 4];
            m_out += kHex[byte & 15];
        }
        at = run + 1;
    }
    m_out += '"';
    return *this;
}

}  // namespace NorvJson
