#ifndef NORVEXT_JSON_JSONTEXT_H
#define NORVEXT_JSON_JSONTEXT_H

/// \file
/// JSON text written straight into a string, for records printed often and
/// in bulk (search results), where building a JSON tree first would cost
/// more than reading the output they came from.

#include <norvext/json/Export.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace NorvJson {

/// Appends JSON pieces to a string; the caller puts them in order. Values
/// travel as in toJson(): bytes that are not UTF-8 as {"base64": "..."},
/// doubles in their shortest exact form ("NaN", "Infinity" as strings).
/// Never fails but for allocation.
class NORVJSON_API JsonText {
public:
    /// Appends to `out`, which must outlive the writer.
    explicit JsonText(std::string& out) : m_out(out) {}

    /// `text` as it stands: punctuation.
    JsonText& raw(const char* text) {
        m_out += text;
        return *this;
    }
    /// `"name":`; the name, a string literal, is written as it stands.
    template <std::size_t N>
    JsonText& key(const char (&name)[N]) {
        return member(false, name);
    }
    /// `,"name":`: the key of a member after another.
    template <std::size_t N>
    JsonText& nextKey(const char (&name)[N]) {
        return member(true, name);
    }
    /// A JSON number.
    JsonText& integer(long long value);
    /// A JSON number, or a string where JSON has none.
    JsonText& real(double value);
    /// A JSON string, or {"base64": ...} for bytes that are not UTF-8.
    JsonText& text(const std::string& bytes);
    /// Pairs of numbers as a JSON array of two-element arrays: [[1,2],[5,9]].
    JsonText& pairs(const std::vector<std::pair<int, int>>& values);
    /// `null`.
    JsonText& null() { return raw("null"); }
    /// The value, or `null` when there is none.
    template <class T>
    JsonText& optional(const std::optional<T>& value) {
        return value ? number(*value) : null();
    }

private:
    // The key, after a comma if `comma`, in one append: a record has a key
    // for every value, and three appends a key were a good part of writing
    // one.
    template <std::size_t N>
    JsonText& member(bool comma, const char (&name)[N]) {
        char text[N + 3];
        std::size_t length = 0;
        if (comma) {
            text[length++] = ',';
        }
        text[length++] = '"';
        std::memcpy(text + length, name, N - 1);
        length += N - 1;
        text[length++] = '"';
        text[length++] = ':';
        m_out.append(text, length);
        return *this;
    }
    // The characters from `begin` to `end`, appended by length: the
    // iterator form goes through std::string's slower replace.
    void appendUpTo(const char* begin, const char* end) {
        m_out.append(begin, static_cast<std::size_t>(end - begin));
    }
    JsonText& number(double value) { return real(value); }
    JsonText& number(unsigned int value) { return integer(value); }
    JsonText& number(int value) { return integer(value); }

    std::string& m_out;
};

}  // namespace NorvJson

#endif
