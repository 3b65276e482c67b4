#include "Fields.h"

#include <charconv>
#include <limits>
#include <stdexcept>

namespace NorvSearch {
namespace internal {
namespace {

std::string quoted(std::string_view text) {
    return '\'' + std::string(text.substr(0, 40)) + (text.size() > 40 ? "...'" : "'");
}

template <class T>
T parseWhole(std::string_view text, const char* what) {
    T value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        throw std::invalid_argument(quoted(text) + " is not " + what);
    }
    return value;
}

}  // namespace

int parseInt(std::string_view text) { return parseWhole<int>(text, "an integer"); }

unsigned int parsePosition(std::string_view text) {
    const unsigned int value = parseWhole<unsigned int>(text, "a position");
    if (value == 0) {
        throw std::invalid_argument("position 0: positions count from 1");
    }
    return value;
}

double parseReal(std::string_view text) {
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        return parseReal("1" + std::string(text));
    }
    // from_chars also takes "inf" and "nan", which no engine prints.
    if (!text.empty() && (text.front() == 'i' || text.front() == 'n' || text.front() == 'I' || text.front() == 'N')) {
        throw std::invalid_argument(quoted(text) + " is not a number");
    }
    return parseWhole<double>(text, "a number");
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool isOrdinalID(std::string_view id) { return id.substr(0, 14) == "gnl|BL_ORD_ID|"; }

unsigned int numberInID(std::string_view id) {
    std::string_view digits;
    if (isOrdinalID(id)) {
        digits = id.substr(14);
    } else if (id.substr(0, 3) == "gi|") {
        digits = id.substr(3, id.find('|', 3) - 3);
    }
    unsigned int value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return result.ec == std::errc() && result.ptr == digits.data() + digits.size() ? value : 0;
}

void splitFirstWord(std::string_view line, std::string& word, std::string& rest) {
    const auto blank = line.find_first_of(" \t");
    word.assign(line.substr(0, blank));
    rest.assign(blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1));
}

}  // namespace internal
}  // namespace NorvSearch
