#include "Words.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace NorvSearch {
namespace internal {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string shortestNumber(double value) {
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

}  // namespace internal
}  // namespace NorvSearch
