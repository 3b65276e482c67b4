#include <norvseq/Sequence.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using Norv::Sequence;

TEST(Sequence, CopyDataReplacesWithTheStretch) {
    const Sequence seq(4, "sp|P1", "first", "ACDEFGHIK");
    std::vector<char> out = {'x', 'y'};
    seq.copyData(out, 3, 2);
    EXPECT_EQ(std::string(out.begin(), out.end()), "DEF");
    seq.copyData(out, 0, 0);
    EXPECT_TRUE(out.empty());
    seq.copyData(out, 9, 0);
    EXPECT_EQ(out.size(), 9u);
}

TEST(Sequence, CopyDataPastTheEndThrowsAndKeepsTheTarget) {
    const Sequence seq(1, "s", "n", "ACGT");
    std::vector<char> out = {'z'};
    EXPECT_THROW(seq.copyData(out, 2, 3), std::out_of_range);
    EXPECT_THROW(seq.copyData(out, 1, 5), std::out_of_range);
    EXPECT_THROW(seq.copyData(out, 4294967295u, 2), std::out_of_range);  // no wrap-around
    EXPECT_EQ(out, std::vector<char>{'z'});
    EXPECT_NO_THROW(seq.copyData(out, 0, 4));
}

TEST(Sequence, CloneIsIndependentAndKeepsTheDerivedClass) {
    struct Tagged : Sequence {
        using Sequence::Sequence;
        boost::shared_ptr<Sequence> clone() const override { return boost::shared_ptr<Sequence>(new Tagged(*this)); }
    };
    const Tagged seq(7, "src", "name", "MK");
    const boost::shared_ptr<Sequence> copy = seq.clone();
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), &seq);
    EXPECT_NE(dynamic_cast<Tagged*>(copy.get()), nullptr);
    EXPECT_EQ(copy->getID(), 7u);
    EXPECT_EQ(copy->getSourceID(), "src");
    EXPECT_EQ(copy->getName(), "name");
    EXPECT_EQ(copy->getLetters(), "MK");
}

TEST(SequenceRange, DefaultIsNoRangeAndComparesByValue) {
    EXPECT_EQ(Sequence::Range(), Sequence::Range(0, 0));
    EXPECT_NE(Sequence::Range(1, 2), Sequence::Range(1, 3));
    EXPECT_NE(Sequence::Range(1, 2), Sequence::Range(2, 2));
}
