#include <norvext/query/internal/SummaryText.h>

#include <norvext/query/internal/SummaryFields.h>
#include <norvseq/StreamIO.h>

#include <istream>
#include <ostream>
#include <string>
#include <type_traits>

namespace Norv {
namespace internal {

namespace {
// The form StreamIO::read takes back: byte length, colon, the bytes as they
// stand. NorvSeq only reads it, so the line is written here.
void writeLine(std::ostream& os, const std::string& text) {
    os << text.size() << ':';
    os.write(text.data(), static_cast<std::streamsize>(text.size()));
    os.put('\n');
}

// The numbers of the list come first, then its texts (SummaryFields.h keeps
// them in that order).
template <class Entry>
constexpr bool isText() {
    return std::is_same<typename Entry::Kind, Text>::value;
}
}  // namespace

std::ostream& operator<<(std::ostream& os, const Summary& summary) {
    const char* separator = "";
    forEachField<Summary>([&](const auto& field) {
        if constexpr (!isText<std::decay_t<decltype(field)>>()) {
            os << separator << summary.*field.member;
            separator = " ";
        }
    });
    os << '\n';
    forEachField<Summary>([&](const auto& field) {
        if constexpr (isText<std::decay_t<decltype(field)>>()) {
            writeLine(os, summary.*field.member);
        }
    });
    return os;
}

// Each value is read into a fresh one first, so that a failed extraction
// stores 0 or the empty text, as it would into a new variable.
std::istream& operator>>(std::istream& is, Summary& summary) {
    forEachField<Summary>([&](const auto& field) {
        if constexpr (!isText<std::decay_t<decltype(field)>>()) {
            std::decay_t<decltype(summary.*field.member)> number{};
            is >> number;
            summary.*field.member = number;
        }
    });
    is.ignore(1);
    forEachField<Summary>([&](const auto& field) {
        if constexpr (isText<std::decay_t<decltype(field)>>()) {
            std::string text;
            StreamIO::read(is, text);
            summary.*field.member = text;
        }
    });
    return is;
}

}  // namespace internal
}  // namespace Norv
