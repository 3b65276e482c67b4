#include "Fields.h"

#include <cfloat>
#include <charconv>
#include <limits>
#include <stdexcept>

namespace NorvSearch {
namespace internal {
namespace {

std::string quoted(std::string_view text) {
    return '\'' + std::string(text.substr(0, 40)) + (text.size() > 40 ? "...'" : "'");
}

// A tabular line is mostly numbers, most of them short and plain. The fast
// paths below take those and leave every other text to std::from_chars,
// whose answers they give. They pay: bench/SearchBench's tabular reader
// took 12.8 ms without them, 11.8 ms with (179 and 167 million
// instructions under callgrind).

// The value of 1 to 18 decimal digits (no overflow to check); -1 for any
// other text.
long long digitsValue(std::string_view text) {
    if (text.empty() || text.size() > 18) {
        return -1;
    }
    long long value = 0;
    for (const char c : text) {
        const unsigned digit = static_cast<unsigned char>(c) - static_cast<unsigned>('0');
        if (digit > 9) {
            return -1;
        }
        value = value * 10 + digit;
    }
    return value;
}

// The faults, out of line, so that the parsers' usual paths stay lean.
[[noreturn]] void fault(const char* problem) { throw std::invalid_argument(problem); }
[[noreturn]] void notA(std::string_view text, const char* what) {
    throw std::invalid_argument(quoted(text) + " is not " + what);
}
[[noreturn]] void pastLimit(const char* kind, std::string_view text) {
    throw std::invalid_argument(kind + (' ' + std::string(text)) + " is past 2147483647");
}
[[noreturn]] void tooLarge(std::string_view text) { throw std::invalid_argument(quoted(text) + " is too large"); }

template <class T>
T parseWhole(std::string_view text, const char* what) {
    T value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        notA(text, what);
    }
    return value;
}

// parseWhole for an unsigned number, short plain ones taken at once.
unsigned long long parseUnsigned(std::string_view text, const char* what) {
    const long long value = digitsValue(text);
    return value >= 0 ? static_cast<unsigned long long>(value) : parseWhole<unsigned long long>(text, what);
}

#if FLT_EVAL_METHOD == 0
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten that a double holds exactly.
const double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A decimal number "-?D+(.D+)?([eE][+-]?D{1,3})?" whose digits, at most 19,
// make at most 2^53, with a power of ten within 10^22 either way, into
// `value`: both are exact doubles, so one multiplication or division
// rounds as from_chars does (Clinger's fast path). False for any other
// text. Only where doubles are computed as doubles (not x87's 80 bits).
bool fastReal(std::string_view text, double& value) {
    const char* at = text.data();
    const char* const end = at + text.size();
    const bool negative = at != end && *at == '-';
    at += negative;
    const char* const first = at;
    unsigned long long mantissa = 0;
    int scale = 0;
    for (; at != end && isDigit(*at); ++at) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*at - '0');
    }
    const char* const point = at;
    if (point == first) {
        return false;
    }
    if (at != end && *at == '.') {
        for (++at; at != end && isDigit(*at); ++at) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*at - '0');
        }
        scale = -static_cast<int>(at - point - 1);
        if (scale == 0) {
            return false;  // "5." is from_chars' to judge
        }
    }
    if (at - first - (scale != 0) > 19) {
        return false;  // the mantissa may have overflowed
    }
    if (at != end && (*at == 'e' || *at == 'E')) {
        ++at;
        const bool down = at != end && *at == '-';
        at += at != end && (*at == '-' || *at == '+');
        const char* const digits = at;
        int exponent = 0;
        for (; at != end && isDigit(*at) && at - digits < 3; ++at) {
            exponent = exponent * 10 + (*at - '0');
        }
        if (at == digits) {
            return false;
        }
        scale += down ? -exponent : exponent;
    }
    if (at != end || mantissa > (1ULL << 53) || scale < -22 || scale > 22) {
        return false;
    }
    const double whole = static_cast<double>(mantissa);
    value = scale >= 0 ? whole * kExactPowers[scale] : whole / kExactPowers[-scale];
    value = negative ? -value : value;
    return true;
}
#else
bool fastReal(std::string_view, double&) { return false; }
#endif

}  // namespace

int parseInt(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    const long long value = digitsValue(text.substr(negative));
    if (value >= 0 && value <= std::numeric_limits<int>::max()) {
        return negative ? -static_cast<int>(value) : static_cast<int>(value);
    }
    return parseWhole<int>(text, "an integer");
}

unsigned int parsePosition(std::string_view text) {
    const unsigned long long value = parseUnsigned(text, "a position");
    if (value == 0) {
        fault("position 0: positions count from 1");
    }
    // Segments hold positions as int.
    if (value > static_cast<unsigned long long>(std::numeric_limits<int>::max())) {
        pastLimit("position", text);
    }
    return static_cast<unsigned int>(value);
}

unsigned int parseCount(std::string_view text) {
    const unsigned long long value = parseUnsigned(text, "a count");
    if (value > static_cast<unsigned long long>(std::numeric_limits<int>::max())) {
        pastLimit("count", text);
    }
    return static_cast<unsigned int>(value);
}

double parseReal(std::string_view text) {
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        return parseReal("1" + std::string(text));
    }
    // from_chars also takes "inf" and "nan", which no engine prints.
    if (!text.empty() && (text.front() == 'i' || text.front() == 'n' || text.front() == 'I' || text.front() == 'N')) {
        notA(text, "a number");
    }
    double value = 0;
    if (fastReal(text, value)) {
        return value;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ptr != text.data() + text.size() ||
        (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
        notA(text, "a number");
    }
    if (result.ec == std::errc::result_out_of_range) {
        // An E-value below the smallest double is 0 for every purpose; a
        // number too large for a double is no engine's.
        if (text.find_first_of("eE") == std::string_view::npos || text[text.find_first_of("eE") + 1] != '-') {
            tooLarge(text);
        }
        return 0.0;
    }
    return value;
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

void splitFirstWord(std::string_view line, std::string_view& word, std::string_view& rest) {
    const auto blank = line.find_first_of(" \t");
    word = line.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
}

void splitFirstWord(std::string_view line, std::string& word, std::string& rest) {
    std::string_view wordView, restView;
    splitFirstWord(line, wordView, restView);
    word.assign(wordView);
    rest.assign(restView);
}

bool splitFastaLength(std::string_view line, std::string_view& definition, unsigned int& length, bool& nucleotides) {
    const auto dash = line.rfind(" - ");
    if (dash == std::string_view::npos) {
        return false;
    }
    const std::string_view tail = line.substr(dash + 3);
    const auto blank = tail.find(' ');
    const std::string_view kind = blank == std::string_view::npos ? "" : tail.substr(blank + 1);
    if (kind != "aa" && kind != "nt") {
        return false;
    }
    try {
        length = parsePosition(tail.substr(0, blank));
    } catch (const std::invalid_argument&) {
        return false;
    }
    definition = line.substr(0, dash);
    nucleotides = kind == "nt";
    return true;
}

}  // namespace internal
}  // namespace NorvSearch
