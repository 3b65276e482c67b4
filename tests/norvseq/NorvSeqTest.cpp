// The NorvSeq behaviour that NorvExt builds on: letter stretches, line
// segments, alignment rows and length-prefixed strings.
#include <norvseq/Alignment.h>
#include <norvseq/StreamIO.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using namespace Norv;
typedef Sequence::Range Range;

TEST(Sequence, CopyDataReplacesWithTheStretchOrThrowsKeepingTheTarget) {
    const Sequence seq(4, "sp|P1", "first", "ACDEFGHIK");
    // first, count, expected (null: out_of_range, the target kept)
    const struct { unsigned int first, count; const char* expected; } cases[] = {
        {2, 3, "DEF"}, {0, 0, ""}, {0, 9, "ACDEFGHIK"}, {9, 0, ""}, {8, 2, nullptr}, {10, 0, nullptr},
        {2, 4294967295u, nullptr},  // no wrap-around
    };
    for (const auto& c : cases) {
        std::vector<char> out = {'x'};
        if (c.expected == nullptr) {
            EXPECT_THROW(seq.copyData(out, c.count, c.first), std::out_of_range) << c.first;
            EXPECT_EQ(out, std::vector<char>{'x'});
        } else {
            seq.copyData(out, c.count, c.first);
            EXPECT_EQ(std::string(out.begin(), out.end()), c.expected) << c.first;
        }
    }
    const boost::shared_ptr<Sequence> clone = seq.clone();
    EXPECT_NE(clone.get(), &seq);
    std::vector<char> letters;
    clone->copyData(letters, 9, 0);
    EXPECT_EQ(std::string(letters.begin(), letters.end()), "ACDEFGHIK");
}

TEST(SeqAlign, LineSegsOfARowMergedOrTranslated) {
    SeqAlign record;
    record.setLineSegs(0, {{1, 2}});
    record.setLineSegs(1, {{1, 5}, {6, 9}, {20, 25}, {22, 30}, {40, 41}});
    SeqAlign::Segments out = {{99, 99}};
    EXPECT_TRUE(record.getLineSegs(out, 0, false, false));
    EXPECT_EQ(out, (SeqAlign::Segments{{1, 2}}));
    record.getLineSegs(out, 1, true, false);  // touching or overlapping segments join
    EXPECT_EQ(out, (SeqAlign::Segments{{1, 9}, {20, 30}, {40, 41}}));
    record.getLineSegs(out, 1, true, true);
    EXPECT_EQ(out, (SeqAlign::Segments{{3, 27}, {60, 90}, {120, 123}}));
    EXPECT_FALSE(record.getLineSegs(out, 2, false, false));
    EXPECT_TRUE(out.empty());
}

TEST(Alignment, RowsStartWithTheRecordsRangesAndShareTheirSequences) {
    SeqAlign record;
    record.setQueryRange(Range(3, 40));
    record.setSubjectRange(Range(100, 137));
    Alignment a(record);
    EXPECT_EQ(a.getRange(0), Range(3, 40));
    EXPECT_EQ(a.getRange(1), Range(100, 137));
    const auto query = boost::make_shared<Sequence>(1, "q", "query", "ACGT");
    a.setSequenceAndRange(query, Range(1, 4), 0);
    a.assignSequence(query, 1);
    EXPECT_EQ(a.getSequence(0), query);
    EXPECT_EQ(a.getRange(0), Range(1, 4));
    EXPECT_EQ(a.getSequence(1), query);
    EXPECT_EQ(a.getRange(1), Range(100, 137));  // assignSequence keeps the range
    EXPECT_THROW(a.assignSequence(query, 2), std::out_of_range);
}

TEST(StreamIO, RoundTripsAnyBytesAndFailsKeepingTheValue) {
    std::stringstream text;
    const std::string awkward("a\0:\n b\xff", 7);
    StreamIO::write(text, awkward) << '\n';
    StreamIO::write(text, "");
    EXPECT_EQ(text.str(), std::string("7:a\0:\n b\xff\n0:", 12));
    std::string first, second = "old";
    StreamIO::read(StreamIO::read(text, first), second);  // the line feed is leading white space
    EXPECT_TRUE(text);
    EXPECT_EQ(first, awkward);
    EXPECT_EQ(second, "");
    for (const char* input : {"x:abc", "3abc", "5:ab", "", "18446744073709551615:abc"}) {
        std::istringstream broken(input);
        std::string value = "kept";
        EXPECT_FALSE(StreamIO::read(broken, value)) << input;
        EXPECT_EQ(value, "kept") << input;
    }
}
