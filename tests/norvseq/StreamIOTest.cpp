#include <norvseq/StreamIO.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using Norv::StreamIO;

TEST(StreamIO, RoundTripsAnyBytes) {
    std::stringstream text;
    const std::string awkward("a\0:\n b", 6);
    StreamIO::write(text, awkward);
    text << '\n';
    StreamIO::write(text, "");
    EXPECT_EQ(text.str(), std::string("6:a\0:\n b\n0:", 11));
    std::string first, second = "old";
    StreamIO::read(text, first);
    StreamIO::read(text, second);  // skips the line feed as leading white space
    EXPECT_TRUE(text);
    EXPECT_EQ(first, awkward);
    EXPECT_EQ(second, "");
}

TEST(StreamIO, MalformedOrShortInputFailsAndKeepsTheValue) {
    for (const char* input : {"x:abc", "3abc", "5:ab", "", "-1:a"}) {
        std::istringstream text(input);
        std::string value = "kept";
        StreamIO::read(text, value);
        EXPECT_FALSE(text) << input;
        EXPECT_EQ(value, "kept") << input;
    }
}

TEST(StreamIO, HugeAnnouncedLengthFailsOnTheBytesPresent) {
    std::istringstream text("18446744073709551615:abc");
    std::string value;
    StreamIO::read(text, value);
    EXPECT_FALSE(text);
    EXPECT_TRUE(value.empty());
}
