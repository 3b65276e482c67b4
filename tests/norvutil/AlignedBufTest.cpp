#include <norvutil/AlignedBuf.h>

#include "tests/support/Words.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

using Norv::AlignedBuf;
using NorvTest::words;

namespace {

void putText(AlignedBuf& buf, const std::string& text) {
    buf.put(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned int>(text.size()));
}

// Re-reads a buffer's bytes through a fresh buffer, as another module would.
AlignedBuf reopen(const AlignedBuf& buf) { return AlignedBuf(buf.bytes()); }

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::out_of_range& e) {
        return e.what();
    }
    return "no exception";
}

}  // namespace

TEST(AlignedBuf, DefaultIsEmpty) {
    AlignedBuf buf;
    EXPECT_EQ(buf.size(), 0u);
    EXPECT_TRUE(buf.bytes().empty());
    unsigned int value = 0;
    EXPECT_THROW(buf.get(value), std::out_of_range);
}

TEST(AlignedBuf, LayoutIsLittleEndianAndFourByteAligned) {
    AlignedBuf buf;
    buf.put(0x01020304u);
    buf.put(true);
    buf.put(false);
    putText(buf, "abcde");
    buf.put(1.0);
    const std::vector<unsigned char> expected = {
        4, 3, 2, 1,                   // integer
        1, 0, 0, 0,                   // true
        0, 0, 0, 0,                   // false
        5, 0, 0, 0,                   // count
        'a', 'b', 'c', 'd', 'e', 0, 0, 0,  // bytes, zero padded
        0, 0, 0, 0, 0, 0, 0xf0, 0x3f,  // 1.0
    };
    EXPECT_EQ(buf.bytes(), expected);
    EXPECT_EQ(buf.size(), expected.size());
}

TEST(AlignedBuf, ValuesRoundTrip) {
    AlignedBuf out;
    out.put(static_cast<unsigned int>(-1));
    out.put(static_cast<unsigned int>(INT_MIN));
    out.put(4294967295u);
    out.put(-0.0);
    out.put(1e-300);
    out.put(std::numeric_limits<double>::infinity());
    putText(out, NorvTest::awkwardText());
    putText(out, "");
    out.put(true);

    AlignedBuf in = reopen(out);
    int minusOne = 0, minimum = 0;
    unsigned int maximum = 0;
    double negZero = 1, tiny = 0, inf = 0;
    std::string awkward, empty = "x";
    bool flag = false;
    in.get(minusOne);
    in.get(minimum);
    in.get(maximum);
    in.get(negZero);
    in.get(tiny);
    in.get(inf);
    in.get(awkward);
    in.get(empty);
    in.get(flag);
    EXPECT_EQ(minusOne, -1);
    EXPECT_EQ(minimum, INT_MIN);
    EXPECT_EQ(maximum, 4294967295u);
    EXPECT_TRUE(std::signbit(negZero));
    EXPECT_EQ(tiny, 1e-300);
    EXPECT_TRUE(std::isinf(inf));
    EXPECT_EQ(awkward, NorvTest::awkwardText());
    EXPECT_EQ(empty, "");
    EXPECT_TRUE(flag);
}

TEST(AlignedBuf, AnyNonZeroReadsAsTrue) {
    AlignedBuf buf(std::vector<unsigned char>{0, 0, 1, 0});
    bool flag = false;
    buf.get(flag);
    EXPECT_TRUE(flag);
}

TEST(AlignedBuf, GetsPassesTheBytesOfARun) {
    AlignedBuf out;
    putText(out, "ACG");
    out.put(7u);
    AlignedBuf in = reopen(out);
    unsigned int count = 0;
    in.get(count);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(std::string(in.gets(count), count), "ACG");
    unsigned int after = 0;
    in.get(after);  // the padding was passed too
    EXPECT_EQ(after, 7u);
    EXPECT_NE(in.gets(0), nullptr);
}

TEST(AlignedBuf, RewindReadsAgainFromTheStart) {
    AlignedBuf buf;
    buf.put(9u);
    unsigned int first = 0, second = 0;
    buf.get(first);
    buf.rewind();
    buf.get(second);
    EXPECT_EQ(first, 9u);
    EXPECT_EQ(second, 9u);
}

TEST(AlignedBuf, FailedReadsKeepThePositionAndSayWhatIsMissing) {
    AlignedBuf buf(std::vector<unsigned char>{5, 0, 0, 0, 'a', 'b', 0, 0});  // a 5-byte string cut short
    std::string text = "old";
    const std::string message = messageOf([&] { buf.get(text); });
    EXPECT_NE(message.find("string"), std::string::npos) << message;
    EXPECT_NE(message.find("offset 0"), std::string::npos) << message;
    EXPECT_NE(message.find("4 of 12 bytes missing"), std::string::npos) << message;
    EXPECT_EQ(text, "old");
    unsigned int count = 0;
    buf.get(count);  // the position did not move: the count is still next
    EXPECT_EQ(count, 5u);

    double value = 0;
    const std::string doubleMessage = messageOf([&] { buf.get(value); });
    EXPECT_NE(doubleMessage.find("double at offset 4: 4 of 8"), std::string::npos) << doubleMessage;
    EXPECT_THROW(buf.gets(5), std::out_of_range);
    EXPECT_EQ(std::string(buf.gets(2), 2), "ab");
}

TEST(AlignedBuf, HostileCountCostsNothing) {
    AlignedBuf buf(std::vector<unsigned char>{0xff, 0xff, 0xff, 0xff, 'x', 0, 0, 0});
    std::string text;
    EXPECT_THROW(buf.get(text), std::out_of_range);
    unsigned int count = 0;
    buf.get(count);
    EXPECT_EQ(count, 4294967295u);
    EXPECT_THROW(buf.gets(count), std::out_of_range);
}

TEST(AlignedBuf, NullBytesNeedAZeroCount) {
    AlignedBuf buf;
    buf.put(nullptr, 0);
    EXPECT_EQ(words(buf), std::vector<std::uint32_t>{0});
    EXPECT_THROW(buf.put(nullptr, 1), std::invalid_argument);
    EXPECT_EQ(buf.size(), 4u);
}
