#include <norvext/json/JsonText.h>

#include <norvext/common/internal/Utf8.h>

#include "internal/JsonEncoding.h"

#include <charconv>
#include <cmath>

namespace NorvJson {

JsonText& JsonText::key(const char* name) {
    m_out += '"';
    m_out += name;
    m_out.append("\":", 2);
    return *this;
}

JsonText& JsonText::integer(long long value) {
    char text[24];
    m_out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
    return *this;
}

JsonText& JsonText::real(double value) {
    if (!std::isfinite(value)) {
        m_out += internal::realToJson(value).dump();
        return *this;
    }
    char text[32];
    m_out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
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

JsonText& JsonText::text(const std::string& bytes) {
    if (!Norv::internal::isUtf8(bytes)) {
        m_out += "{\"base64\":\"" + internal::base64(bytes) + "\"}";
        return *this;
    }
    m_out += '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_out += '\\';
            m_out += c;
        } else if (byte < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            m_out += "\\u00";
            m_out += kHex[byte >> 4];
            m_out += kHex[byte & 15];
        } else {
            m_out += c;
        }
    }
    m_out += '"';
    return *this;
}

}  // namespace NorvJson
