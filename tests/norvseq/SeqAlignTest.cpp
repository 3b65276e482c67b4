#include <norvseq/SeqAlign.h>

#include <gtest/gtest.h>

using Norv::SeqAlign;
typedef SeqAlign::Segments Segments;

TEST(SeqAlign, GetLineSegsReplacesWithTheRow) {
    SeqAlign record;
    record.setLineSegs(0, {{1, 2}});
    record.setLineSegs(1, {{10, 20}, {30, 40}});
    Segments out = {{99, 99}};
    EXPECT_TRUE(record.getLineSegs(out, 1, false, false));
    EXPECT_EQ(out, (Segments{{10, 20}, {30, 40}}));
    EXPECT_TRUE(record.getLineSegs(out, 0, false, false));
    EXPECT_EQ(out, (Segments{{1, 2}}));
}

TEST(SeqAlign, FlagsMergeAndTranslate) {
    SeqAlign record;
    record.setLineSegs(1, {{1, 5}, {6, 9}, {20, 25}, {22, 30}});
    Segments out;
    record.getLineSegs(out, 1, true, false);
    EXPECT_EQ(out, (Segments{{1, 9}, {20, 30}}));
    record.getLineSegs(out, 1, false, true);
    EXPECT_EQ(out, (Segments{{3, 15}, {18, 27}, {60, 75}, {66, 90}}));
}

TEST(SeqAlign, UnknownRowGivesFalseAndEmpty) {
    SeqAlign record;
    record.setLineSegs(2, {{1, 1}});
    Segments out = {{1, 1}};
    EXPECT_FALSE(record.getLineSegs(out, 2, false, false));
    EXPECT_TRUE(out.empty());
}
