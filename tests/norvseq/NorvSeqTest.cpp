// The NorvSeq behaviour that NorvExt builds on and that its own tests do not
// reach (letter stretches are tested through XBlast::setParamsData): clones
// and length-prefixed strings that fail to read.
#include <norvseq/Sequence.h>
#include <norvseq/StreamIO.h>

#include <gtest/gtest.h>

#include <sstream>

TEST(Sequence, CloneHoldsTheLettersInANewObject) {
    const Norv::Sequence seq(4, "sp|P1", "first", "ACDEFGHIK");
    const boost::shared_ptr<Norv::Sequence> clone = seq.clone();
    std::vector<char> letters;
    clone->copyData(letters, 9, 0);
    EXPECT_NE(clone.get(), &seq);
    EXPECT_EQ(std::string(letters.begin(), letters.end()), "ACDEFGHIK");
}

// The round trip of any bytes is the Summary text's (SummaryTest).
TEST(StreamIO, FailedReadsKeepTheValue) {
    for (const char* input : {"x:abc", "3abc", "5:ab", "", "18446744073709551615:abc"}) {
        std::istringstream broken(input);
        std::string value = "kept";
        EXPECT_FALSE(Norv::StreamIO::read(broken, value)) << input;
        EXPECT_EQ(value, "kept") << input;
    }
}
