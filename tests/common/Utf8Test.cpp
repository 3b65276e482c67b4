#include <norvext/common/internal/Utf8.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The edges of well-formed UTF-8, each as the first sequence of a text and,
// after an ASCII letter, inside one: the length of the sequence there, 0
// when it is not one.
TEST(Utf8, SequencesAtTheEdgesOfWellFormed) {
    const struct {
        std::string bytes;
        std::size_t length;
    } cases[] = {
        {std::string(1, '\0'), 1},
        {"\x7F", 1},
        {"\x80", 0},                 // a continuation byte alone
        {"\xC1\xBF", 0},             // overlong U+007F
        {"\xC2\x80", 2},             // U+0080
        {"\xDF\xBF", 2},             // U+07FF
        {"\xC2", 0},                 // cut short
        {"\xC2\x41", 0},             // not a continuation byte
        {"\xE0\x9F\xBF", 0},         // overlong U+07FF
        {"\xE0\xA0\x80", 3},         // U+0800
        {"\xED\x9F\xBF", 3},         // U+D7FF
        {"\xED\xA0\x80", 0},         // the first surrogate
        {"\xED\xBF\xBF", 0},         // the last surrogate
        {"\xEE\x80\x80", 3},         // U+E000
        {"\xEF\xBF\xBF", 3},         // U+FFFF
        {"\xE2\x80", 0},             // cut short
        {"\xF0\x8F\xBF\xBF", 0},     // overlong U+FFFF
        {"\xF0\x90\x80\x80", 4},     // U+10000
        {"\xF4\x8F\xBF\xBF", 4},     // U+10FFFF
        {"\xF4\x90\x80\x80", 0},     // U+110000
        {"\xF5\x80\x80\x80", 0},     // no lead byte
        {"\xFF", 0},
        {"\xF0\x90\x80\x41", 0},     // the last byte not a continuation
    };
    for (const auto& c : cases) {
        const std::string alone = c.bytes;
        const std::string inside = "a" + c.bytes;
        EXPECT_EQ(Norv::internal::utf8Length(alone, 0), c.length) << testing::PrintToString(alone);
        EXPECT_EQ(Norv::internal::utf8Length(inside, 1), c.length) << testing::PrintToString(alone);
        EXPECT_EQ(Norv::internal::isUtf8(inside + "z"), c.length == c.bytes.size()) << testing::PrintToString(alone);
    }
    EXPECT_TRUE(Norv::internal::isUtf8(""));
}

}  // namespace
