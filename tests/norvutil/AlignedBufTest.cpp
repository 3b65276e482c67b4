#include <norvutil/AlignedBuf.h>

#include "tests/support/Words.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
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

TEST(AlignedBuf, NullBytesNeedAZeroCount) {
    AlignedBuf buf;
    buf.put(nullptr, 0);
    EXPECT_EQ(words(buf), std::vector<std::uint32_t>{0});
    EXPECT_THROW(buf.put(nullptr, 1), std::invalid_argument);
    EXPECT_EQ(buf.size(), 4u);
}

// The second half: AlignedBuf writes into spare room that it grows ahead of
// the bytes. These tests hold the bytes against an encoder of their own,
// across every way the room grows, is trimmed and is copied, and check that
// reading never sees the spare room.
namespace {

// The layout, written out plainly: little-endian words, runs padded with zeros.
struct Reference {
    std::vector<unsigned char> bytes;

    void word(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<unsigned char>(v >> shift));
        }
    }
    void real(double d) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        word(static_cast<std::uint32_t>(bits));
        word(static_cast<std::uint32_t>(bits >> 32));
    }
    void run(const std::string& text) {
        word(static_cast<std::uint32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        while (bytes.size() % 4 != 0) {
            bytes.push_back(0);
        }
    }
};

// A fixed mix of items: words, doubles and runs of every length from 0 to
// 300 bytes (non-zero bytes, so that padding stands out), a few large runs.
template <class Sink>
void writeMix(Sink&& sink, int items) {
    std::uint32_t state = 7;
    for (int i = 0; i < items; ++i) {
        state = state * 1103515245u + 12345u;
        switch (state >> 29) {
        case 0:
        case 1:
            sink.word(state);
            break;
        case 2:
            sink.real(static_cast<double>(state) / 3.0);
            break;
        case 7:
            sink.run(std::string(i % 5 == 0 ? 70000 + i : 1000 + i, static_cast<char>('a' + i % 26)));
            break;
        default:
            sink.run(std::string((state >> 8) % 301, static_cast<char>(0x80 | (i % 127))));
            break;
        }
    }
}

// The same mix through AlignedBuf; `trimEvery` > 0 asks for bytes() every so
// many items, which trims the spare room between writes.
struct Writer {
    AlignedBuf& buf;
    int trimEvery;
    int count;

    void after() {
        if (trimEvery > 0 && ++count % trimEvery == 0) {
            ASSERT_EQ(buf.bytes().size(), buf.size());
        }
    }
    void word(std::uint32_t v) {
        buf.put(static_cast<unsigned int>(v));
        after();
    }
    void real(double d) {
        buf.put(d);
        after();
    }
    void run(const std::string& text) {
        putText(buf, text);
        after();
    }
};

std::vector<unsigned char> expectedMix(int items) {
    Reference reference;
    writeMix(reference, items);
    return reference.bytes;
}

}  // namespace

TEST(AlignedBufGrowth, ManyItemsLayOutExactlyAsTheFormatSays) {
    for (int trimEvery : {0, 1, 3, 50}) {
        AlignedBuf buf;
        writeMix(Writer{buf, trimEvery, 0}, 2000);
        EXPECT_EQ(buf.bytes(), expectedMix(2000)) << "bytes() every " << trimEvery << " items";
        EXPECT_EQ(buf.size(), buf.bytes().size());
    }
}

TEST(AlignedBufGrowth, WritingGoesOnAfterTheBytesOfAGivenBuffer) {
    Reference reference;
    reference.word(5);
    AlignedBuf buf(reference.bytes);
    buf.put(6u);
    putText(buf, "xyz");
    reference.word(6);
    reference.run("xyz");
    EXPECT_EQ(buf.bytes(), reference.bytes);
}

TEST(AlignedBufGrowth, ReadingStopsAtTheWrittenBytes) {
    AlignedBuf buf;
    buf.put(1u);  // the buffer now holds spare room of zeros behind this word
    unsigned int value = 0;
    buf.get(value);
    EXPECT_EQ(value, 1u);
    EXPECT_THROW(buf.get(value), std::out_of_range);
    std::string text = "kept";
    EXPECT_THROW(buf.get(text), std::out_of_range);  // a zero count would read as ""
    EXPECT_EQ(text, "kept");
    EXPECT_THROW(buf.gets(4), std::out_of_range);
}

TEST(AlignedBufGrowth, CopiesHoldTheBytesAndThePosition) {
    AlignedBuf buf;
    buf.put(1u);
    putText(buf, "abc");
    unsigned int first = 0;
    buf.get(first);

    AlignedBuf copy(buf);
    EXPECT_EQ(copy.bytes(), buf.bytes());
    EXPECT_EQ(copy.tell(), 4u);
    copy.put(2u);  // the copy grows on its own
    EXPECT_EQ(buf.size(), 12u);
    EXPECT_EQ(copy.size(), 16u);
    std::string text;
    copy.get(text);
    EXPECT_EQ(text, "abc");

    AlignedBuf assigned;
    assigned.put(9u);
    assigned = buf;
    EXPECT_EQ(assigned.bytes(), buf.bytes());
    EXPECT_EQ(assigned.tell(), 4u);
    assigned = assigned;
    EXPECT_EQ(assigned.size(), 12u);
}

TEST(AlignedBufGrowth, AMovedFromBufferIsEmptyAndUsable) {
    AlignedBuf buf;
    putText(buf, "abc");
    unsigned int count = 0;
    buf.get(count);

    AlignedBuf moved(std::move(buf));
    EXPECT_EQ(moved.size(), 8u);
    EXPECT_EQ(moved.tell(), 4u);
    EXPECT_EQ(buf.size(), 0u);  // a moved-from buffer is documented as empty
    EXPECT_EQ(buf.tell(), 0u);
    EXPECT_THROW(buf.get(count), std::out_of_range);
    buf.put(3u);
    EXPECT_EQ(buf.bytes(), (std::vector<unsigned char>{3, 0, 0, 0}));

    AlignedBuf target;
    target = std::move(moved);
    EXPECT_EQ(target.size(), 8u);
    EXPECT_EQ(moved.size(), 0u);
}

TEST(AlignedBufPosition, TellCountsTheBytesConsumed) {
    AlignedBuf buf;
    buf.put(1u);
    buf.put(2.5);
    putText(buf, "hello");  // 4 + 8 bytes
    buf.put(true);
    EXPECT_EQ(buf.tell(), 0u);

    unsigned int word = 0;
    double real = 0;
    std::string text;
    bool flag = false;
    buf.get(word);
    EXPECT_EQ(buf.tell(), 4u);
    buf.get(real);
    EXPECT_EQ(buf.tell(), 12u);
    buf.get(text);
    EXPECT_EQ(buf.tell(), 24u);
    EXPECT_THROW(buf.get(real), std::out_of_range);  // only the flag's 4 bytes are left
    EXPECT_EQ(buf.tell(), 24u);
    buf.get(flag);
    EXPECT_EQ(buf.tell(), 28u);
    buf.rewind();
    EXPECT_EQ(buf.tell(), 0u);
}

TEST(AlignedBufPosition, CountsNearTheTopOfTheRangeAreMissingNotWrapped) {
    // Padding a count of 2^32 - 3 gives 2^32 bytes: a 32-bit size would wrap
    // to 0 and let the read run off the end.
    AlignedBuf buf(std::vector<unsigned char>{0xfd, 0xff, 0xff, 0xff, 'x', 0, 0, 0});
    std::string text;
    try {
        buf.get(text);
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "AlignedBuf: cannot read a string at offset 0: 4294967292 of 4294967300 bytes missing");
    }
    unsigned int count = 0;
    buf.get(count);
    try {
        buf.gets(count);
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "AlignedBuf: cannot read a byte run at offset 4: 4294967292 of 4294967296 bytes missing");
    }
    EXPECT_EQ(buf.tell(), 4u);
}
