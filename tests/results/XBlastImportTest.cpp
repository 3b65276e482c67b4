#include <norvext/results/XBlast.h>

#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>
#include <norvext/query/Summary.h>

#include <norvseq/Alignment.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using Norv::FastAParams;
using Norv::SeqAlign;
using Norv::Sequence;
using Norv::Summary;
using Norv::XBlast;
using Norv::XBlastHit;
using Norv::XBlastParams;

namespace {

SeqAlign record(unsigned int id, const std::string& sourceID, int score = 0) {
    SeqAlign r;
    r.setSubjectID(id);
    r.setSubjectSourceID(sourceID);
    r.setScore(score);
    return r;
}

// Records of `count` subjects 0..count-1, one record each.
std::vector<SeqAlign> subjects(unsigned int count) {
    std::vector<SeqAlign> records;
    for (unsigned int i = 0; i < count; ++i) {
        records.push_back(record(i, ""));
    }
    return records;
}

boost::shared_ptr<Summary> summary(unsigned int id, const std::string& sourceID) {
    auto s = boost::make_shared<Summary>(1, id, "title", nullptr, nullptr);
    s->setSourceID(sourceID);
    return s;
}

int scoreOf(const XBlast& record, unsigned int hit, unsigned int alignment) {
    return record.getHit(hit)[alignment]->getSeqAlign().getScore();
}

}  // namespace

TEST(XBlastImport, GroupsByFirstOccurrenceKeepingRecordOrder) {
    const auto query = boost::make_shared<Sequence>(1, "q", "query", "ACGT");
    XBlast result(query, Sequence::Range(2, 3));
    result.add(XBlastHit(summary(99, "old")));
    result.assign({record(12, "x", 1), record(5, "y", 2), record(12, "z", 3), record(9, "x", 4), record(5, "y", 5)},
                  false);
    std::vector<unsigned int> ids;
    result.getIDSet(ids);
    EXPECT_EQ(ids, (std::vector<unsigned int>{12, 5, 9}));  // the old hit is gone
    EXPECT_EQ(result.getHit(0).size(), 2u);
    EXPECT_EQ(result.getHit(1).size(), 2u);
    EXPECT_EQ(result.getHit(2).size(), 1u);
    EXPECT_EQ(scoreOf(result, 0, 0), 1);
    EXPECT_EQ(scoreOf(result, 0, 1), 3);
    EXPECT_EQ(scoreOf(result, 1, 1), 5);
    EXPECT_EQ(result.getHit(0).getSourceID(), "x");  // taken from the first record
    for (const XBlastHit& hit : result) {
        EXPECT_FALSE(hit.getSummary());
        for (const auto& alignment : hit.getAlignments()) {
            EXPECT_EQ(alignment->getSequence(0), query);
            EXPECT_EQ(alignment->getRange(0), Sequence::Range(2, 3));
        }
    }

    // By source id: 12 "x" and 9 "x" join; 12 "z" stands alone.
    result.assign({record(12, "x", 1), record(5, "y", 2), record(12, "z", 3), record(9, "x", 4)}, true);
    std::vector<std::string> names;
    result.getSourceIDSet(names);
    EXPECT_EQ(names, (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(result.getHit(0).getID(), 12u);
    EXPECT_EQ(scoreOf(result, 0, 1), 4);

    result.assign(std::vector<SeqAlign>(), false);
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(result.getQuery(), query);
    EXPECT_EQ(result.getRange(), Sequence::Range(2, 3));
}

TEST(XBlastImport, CapacityHintIsBoundedByRecords) {
    XBlast result;
    // 100 distinct subjects in 120 records fit the default hint exactly.
    std::vector<SeqAlign> records = subjects(100);
    records.resize(120, record(0, ""));
    result.assign(records, false);
    EXPECT_EQ(result.getHitCount(), 100u);
    EXPECT_EQ(result.getHits().capacity(), 100u);

    result.setParams(boost::make_shared<XBlastParams>());
    result.getParams()->setLimit(500);
    auto fasta = boost::make_shared<FastAParams>();
    fasta->setLimit(7);
    result.setFastA(fasta);
    result.assign(subjects(7), false);
    EXPECT_EQ(result.getHits().capacity(), 7u);  // FASTA limit wins
    result.assign(subjects(9), false);
    EXPECT_EQ(result.getHitCount(), 9u);  // a hint, not a cap

    result.setFastA(boost::shared_ptr<FastAParams>());
    result.getParams()->setLimit(-1);
    EXPECT_NO_THROW(result.assign(subjects(3), false));
    EXPECT_EQ(result.getHits().capacity(), 3u);
}

TEST(XBlastImport, SummariesGoToTheFirstHitWithTheKey) {
    XBlast result;
    result.assign({record(1, "a"), record(2, "b")}, false);
    result.add(XBlastHit(record(1, "c")));  // a second hit with id 1
    const auto first = summary(1, "zzz");
    const auto later = summary(2, "b");
    result.assign({summary(2, "ignored"), first, boost::shared_ptr<Summary>(), summary(42, "a"), later}, false);
    EXPECT_EQ(result.getHit(0).getSummary(), first);  // shared, not copied
    EXPECT_EQ(result.getHit(0).getSourceID(), "a");   // the hit's keys stay
    EXPECT_EQ(result.getHit(1).getSummary(), later);
    EXPECT_FALSE(result.getHit(2).getSummary());

    const XBlast untouched(result);
    const auto bySource = summary(7, "c");
    result.assign({bySource}, true);
    EXPECT_EQ(result.getHit(2).getSummary(), bySource);
    EXPECT_FALSE(untouched.getHit(2).getSummary());  // hits are copies
}

TEST(XBlastImport, AddSubjectReachesTheFirstMatchOnly) {
    XBlast result;
    result.assign({record(3, "p"), record(4, "p")}, false);
    const XBlast copy(result);
    EXPECT_FALSE(result.addSubject(boost::shared_ptr<Sequence>(), false));
    EXPECT_FALSE(result.addSubject(boost::make_shared<Sequence>(5, "p", "s5", "AC"), false));
    EXPECT_FALSE(result.getHit(0).getSubject());
    const auto subject = boost::make_shared<Sequence>(9, "p", "s9", "AC");
    EXPECT_TRUE(result.addSubject(subject, true));
    EXPECT_EQ(result.getHit(0).getSubject(), subject);
    EXPECT_FALSE(result.getHit(1).getSubject());
    EXPECT_EQ(copy.getHit(0).getSubject(), subject);  // the alignments are shared
}

TEST(XBlastImport, LineSetIsShiftedByTheRangeOffset) {
    SeqAlign a = record(1, "a");
    a.setLineSegs(1, {{15, 40}, {41, 50}});
    SeqAlign b = record(2, "b");
    b.setLineSegs(1, {{20, 25}});
    XBlast result(boost::shared_ptr<Sequence>(), Sequence::Range(11, 60));
    result.setParams(boost::make_shared<XBlastParams>());
    result.assign({a, b, a}, false);

    XBlast::LineSet lines(5);
    EXPECT_TRUE(result.getLineSet(lines, false));
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 2u);
    EXPECT_EQ(lines[0][1], (XBlastHit::Segments{{5, 30}, {31, 40}}));
    EXPECT_EQ(lines[1][0], (XBlastHit::Segments{{10, 15}}));
    EXPECT_TRUE(result.getLineSet(lines, true));  // the flag reaches the records
    EXPECT_EQ(lines[0][0], (XBlastHit::Segments{{5, 40}}));

    // Translated only when the parameters are both protein and translated.
    result.getParams()->setTranslated(true);
    result.getLineSet(lines, false);
    EXPECT_EQ(lines[1][0], (XBlastHit::Segments{{10, 15}}));
    result.getParams()->setProtein(true);
    result.getLineSet(lines, false);
    EXPECT_EQ(lines[1][0], (XBlastHit::Segments{{50, 65}}));

    for (const Sequence::Range range : {Sequence::Range(0, 0), Sequence::Range(20, 10)}) {
        result.setRange(range);
        result.setParams(boost::shared_ptr<XBlastParams>());  // no parameters: not translated
        result.getLineSet(lines, false);
        EXPECT_EQ(lines[1][0], (XBlastHit::Segments{{20, 25}}));
    }

    result.assign(std::vector<SeqAlign>(), false);
    EXPECT_FALSE(result.getLineSet(lines, false));
    EXPECT_TRUE(lines.empty());
}
