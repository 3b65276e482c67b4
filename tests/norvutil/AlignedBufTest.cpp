#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using Norv::AlignedBuf;
typedef std::vector<unsigned char> Bytes;

namespace {

void putText(AlignedBuf& buf, const std::string& text) {
    buf.put(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned int>(text.size()));
}

// Reads the next item into `value` (its previous content must not show).
template <class T>
void expectNext(AlignedBuf& buf, const T& expected, T value = T()) {
    buf.get(value);
    EXPECT_EQ(value, expected);
}

}  // namespace

// The byte layout itself is pinned by the golden files of the persisted
// classes; here what those do not reach.
TEST(AlignedBuf, LargeRunsAndAnyNonZeroFlag) {
    const std::string large(70001, 'L');  // outgrows the spare room
    AlignedBuf buf;
    putText(buf, large);
    putText(buf, "ACG");
    expectNext(buf, large, std::string("x"));
    expectNext(buf, 3u);
    EXPECT_EQ(std::string(buf.gets(3), 3), "ACG");  // and its padding
    EXPECT_EQ(buf.tell(), buf.size());
    unsigned int word = 0;
    EXPECT_THROW(buf.get(word), std::out_of_range);  // the spare room behind is not data
    for (const Bytes& bytes : {Bytes{0, 0, 1, 0}, Bytes{0, 0, 0, 0x80}}) {
        AlignedBuf in(bytes);
        expectNext(in, true);
    }
}

TEST(AlignedBuf, FailedReadsKeepThePositionAndSayWhatIsMissing) {
    typedef std::function<void(AlignedBuf&, std::string&)> Read;
    const Read word = [](AlignedBuf& b, std::string&) { unsigned int v; b.get(v); };
    const Read real = [](AlignedBuf& b, std::string&) { double v; b.get(v); };
    const Read text = [](AlignedBuf& b, std::string& s) { b.get(s); };
    const Read run = [](AlignedBuf& b, std::string&) { b.gets(4294967293u); };
    const Bytes huge = {0xfd, 0xff, 0xff, 0xff, 'x', 0, 0, 0};  // a count of 2^32 - 3
    // skip: words read before the failing read.
    const struct { Bytes bytes; unsigned int skip; Read read; const char* message; } cases[] = {
        {{}, 0, word, "an unsigned int at offset 0: 4 of 4 bytes missing"},
        {{1, 0, 0, 0, 2, 0, 0}, 1, word, "an unsigned int at offset 4: 1 of 4 bytes missing"},
        {{1, 0, 0, 0, 0, 0, 0, 0}, 1, real, "a double at offset 4: 4 of 8 bytes missing"},
        {{1, 0}, 0, text, "the length of a string at offset 0: 2 of 4 bytes missing"},
        {{5, 0, 0, 0, 'a', 'b', 0, 0}, 0, text, "a string at offset 0: 4 of 12 bytes missing"},
        // Padded, such counts reach 2^32: missing, not wrapped to 0.
        {huge, 0, text, "a string at offset 0: 4294967292 of 4294967300 bytes missing"},
        {huge, 1, run, "a byte run at offset 4: 4294967292 of 4294967296 bytes missing"},
    };
    for (const auto& c : cases) {
        AlignedBuf buf(c.bytes);
        for (unsigned int i = 0, skipped = 0; i < c.skip; ++i) {
            buf.get(skipped);
        }
        std::string value = "kept", message = "no exception";
        try {
            c.read(buf, value);
        } catch (const std::out_of_range& e) {
            message = e.what();
        }
        EXPECT_EQ(message, std::string("AlignedBuf: cannot read ") + c.message);
        EXPECT_EQ(buf.tell(), 4u * c.skip) << c.message;
        EXPECT_EQ(value, "kept");
    }
}
