#include <norvseq/Alignment.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using Norv::Alignment;
using Norv::SeqAlign;
using Norv::Sequence;

namespace {
SeqAlign record(int score) {
    SeqAlign r;
    r.setSubjectID(12);
    r.setSubjectSourceID("sp|Q9");
    r.setScore(score);
    r.setEValue(1e-30);
    r.setBitScore(88.5);
    r.setQueryRange(Sequence::Range(3, 40));
    r.setSubjectRange(Sequence::Range(100, 137));
    return r;
}
}  // namespace

TEST(Alignment, StartsWithoutSequencesAndWithTheRecordsRanges) {
    const Alignment a(record(50));
    EXPECT_FALSE(a.getSequence(0));
    EXPECT_FALSE(a.getSequence(1));
    EXPECT_EQ(a.getRange(0), Sequence::Range(3, 40));
    EXPECT_EQ(a.getRange(1), Sequence::Range(100, 137));
    EXPECT_EQ(a.getSeqAlign().getScore(), 50);
    EXPECT_THROW(a.getRange(2), std::out_of_range);
}

TEST(Alignment, RowsShareTheirSequences) {
    Alignment a(record(1));
    const auto query = boost::make_shared<Sequence>(1, "q", "query", "ACGT");
    const auto subject = boost::make_shared<Sequence>(2, "s", "subject", "ACGA");
    a.setSequenceAndRange(query, Sequence::Range(1, 4), 0);
    a.assignSequence(subject, 1);
    EXPECT_EQ(a.getSequence(0), query);
    EXPECT_EQ(a.getRange(0), Sequence::Range(1, 4));
    EXPECT_EQ(a.getSequence(1), subject);
    EXPECT_EQ(a.getRange(1), Sequence::Range(100, 137));  // assignSequence keeps the range
    EXPECT_THROW(a.assignSequence(subject, 5), std::out_of_range);
}

TEST(Alignment, SharedFromThisLinksToTheOwner) {
    const boost::shared_ptr<Alignment> owner(new Alignment(record(1)));
    EXPECT_EQ(owner->shared_from_this().get(), static_cast<Norv::AttrBase*>(owner.get()));
    EXPECT_EQ(owner.use_count(), 1);
    const boost::shared_ptr<Alignment> copy = owner->clone();
    EXPECT_EQ(copy->shared_from_this().get(), static_cast<Norv::AttrBase*>(copy.get()));
}

TEST(Alignment, TextFormRoundTrips) {
    Alignment a(record(-7));
    std::stringstream text;
    a.write(text);
    Alignment b{SeqAlign()};
    b.read(text);
    ASSERT_TRUE(text);
    EXPECT_EQ(b.getSeqAlign().getScore(), -7);
    EXPECT_EQ(b.getSeqAlign().getEValue(), 1e-30);
    EXPECT_EQ(b.getSeqAlign().getBitScore(), 88.5);
    EXPECT_EQ(b.getSeqAlign().getSubjectID(), 12u);
    EXPECT_EQ(b.getSeqAlign().getSubjectSourceID(), "sp|Q9");
    EXPECT_EQ(b.getRange(1), Sequence::Range(100, 137));

    std::istringstream broken("1 2 x");
    b.read(broken);
    EXPECT_FALSE(broken);
    EXPECT_EQ(b.getSeqAlign().getScore(), -7);
}
