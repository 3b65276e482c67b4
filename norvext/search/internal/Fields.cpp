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
    const unsigned long long value = parseWhole<unsigned long long>(text, "a position");
    if (value == 0) {
        throw std::invalid_argument("position 0: positions count from 1");
    }
    // Segments hold positions as int.
    if (value > static_cast<unsigned long long>(std::numeric_limits<int>::max())) {
        throw std::invalid_argument("position " + std::string(text) + " is past 2147483647");
    }
    return static_cast<unsigned int>(value);
}

unsigned int parseCount(std::string_view text) {
    const unsigned long long value = parseWhole<unsigned long long>(text, "a count");
    if (value > static_cast<unsigned long long>(std::numeric_limits<int>::max())) {
        throw std::invalid_argument("count " + std::string(text) + " is past 2147483647");
    }
    return static_cast<unsigned int>(value);
}

double parseReal(std::string_view text) {
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        return parseReal("1" + std::string(text));
    }
    // from_chars also takes "inf" and "nan", which no engine prints.
    if (!text.empty() && (text.front() == 'i' || text.front() == 'n' || text.front() == 'I' || text.front() == 'N')) {
        throw std::invalid_argument(quoted(text) + " is not a number");
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ptr != text.data() + text.size() ||
        (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
        throw std::invalid_argument(quoted(text) + " is not a number");
    }
    if (result.ec == std::errc::result_out_of_range) {
        // An E-value below the smallest double is 0 for every purpose; a
        // number too large for a double is no engine's.
        if (text.find_first_of("eE") == std::string_view::npos || text[text.find_first_of("eE") + 1] != '-') {
            throw std::invalid_argument(quoted(text) + " is too large");
        }
        return 0.0;
    }
    return value;
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

namespace {
bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}
}  // namespace

bool isMadeUpQueryID(std::string_view id) {
    if (startsWith(id, "lcl|")) {
        id.remove_prefix(4);
        const auto underscore = id.find('_');
        if (underscore != std::string_view::npos && allDigits(id.substr(0, underscore)) &&
            allDigits(id.substr(underscore + 1))) {
            return true;  // lcl|N_N
        }
    }
    return startsWith(id, "Query_") && allDigits(id.substr(6));
}

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
