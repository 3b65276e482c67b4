#include <norvext/results/XBlastHit.h>

#include <norvext/query/Summary.h>

#include <norvseq/Alignment.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <sstream>

using Norv::Alignment;
using Norv::SeqAlign;
using Norv::Sequence;
using Norv::Summary;
using Norv::XBlastHit;

namespace {

SeqAlign record(int score, double eValue, Sequence::Range subject = Sequence::Range(1, 10)) {
    SeqAlign r;
    r.setSubjectID(77);
    r.setSubjectSourceID("sp|P77");
    r.setScore(score);
    r.setEValue(eValue);
    r.setBitScore(score * 2.0);
    r.setSubjectRange(subject);
    return r;
}

XBlastHit hitWithScores(std::initializer_list<int> scores) {
    XBlastHit hit;
    double eValue = 1.0;
    for (int score : scores) {
        hit.add(record(score, eValue /= 10));
    }
    return hit;
}

}  // namespace

TEST(XBlastHit, EmptyHitAnswersWithNeutralValues) {
    XBlastHit hit;
    EXPECT_TRUE(hit.empty());
    EXPECT_FALSE(hit.getBestMatch());
    EXPECT_EQ(hit.getScore(), 0);
    EXPECT_EQ(hit.getEValue(), 0.0);
    EXPECT_EQ(hit.getBitScore(), 0.0);
    EXPECT_FALSE(hit.getQuery());
    EXPECT_FALSE(hit.getSubject());
    EXPECT_EQ(hit.getSubjectRange(), Sequence::Range(4294967295u, 0));
    std::vector<XBlastHit::Segments> rows(3);
    hit.getLineSegRow(rows, false, false);
    EXPECT_TRUE(rows.empty());
    hit.setQuery(boost::make_shared<Sequence>(), Sequence::Range(1, 2));  // nothing to point
    EXPECT_FALSE(hit.getQuery());
}

TEST(XBlastHit, BestIsHighestScoreFirstOfTies) {
    const XBlastHit hit = hitWithScores({5, 9, 9, 3});  // E-values 0.1, 0.01, 0.001, 0.0001
    EXPECT_EQ(hit.getBestMatch(), hit[1]);
    EXPECT_EQ(hit.getScore(), 9);
    EXPECT_DOUBLE_EQ(hit.getEValue(), 0.01);  // not the smaller E-value of the last
    EXPECT_EQ(hit.getBitScore(), 18.0);
    EXPECT_EQ(hitWithScores({-5, -2}).getScore(), -2);
}

TEST(XBlastHit, SubjectRangeIsTheHull) {
    XBlastHit hit;
    hit.add(record(1, 0, Sequence::Range(10, 50)));
    hit.add(record(1, 0, Sequence::Range(5, 20)));
    hit.add(record(1, 0, Sequence::Range(30, 80)));
    EXPECT_EQ(hit.getSubjectRange(), Sequence::Range(5, 80));
}

TEST(XBlastHit, Constructors) {
    const XBlastHit fromNull{boost::shared_ptr<Summary>()};
    EXPECT_EQ(fromNull.getID(), 0u);
    EXPECT_EQ(fromNull.getSourceID(), "");

    auto summary = boost::make_shared<Summary>(1, 7, nullptr, nullptr, nullptr);
    summary->setSourceID("X1");
    XBlastHit fromSummary(summary);
    EXPECT_EQ(fromSummary.getID(), 7u);
    EXPECT_EQ(fromSummary.getSourceID(), "X1");
    EXPECT_EQ(fromSummary.getSummary(), summary);
    auto other = boost::make_shared<Summary>(1, 8, nullptr, nullptr, nullptr);
    fromSummary.setSummary(other);
    EXPECT_EQ(fromSummary.getID(), 7u);

    const XBlastHit fromRecord(record(4, 0.5));
    EXPECT_EQ(fromRecord.getID(), 77u);
    EXPECT_EQ(fromRecord.getSourceID(), "sp|P77");
    ASSERT_EQ(fromRecord.size(), 1u);
    EXPECT_EQ(fromRecord[0]->getSeqAlign().getScore(), 4);
    // The alignment knows its owner.
    EXPECT_EQ(fromRecord[0]->shared_from_this().get(), static_cast<Norv::AttrBase*>(fromRecord[0].get()));
}

TEST(XBlastHit, CopiesShareAlignmentsAndSummary) {
    XBlastHit original = hitWithScores({1, 2});
    original.setSummary(boost::make_shared<Summary>());
    XBlastHit copy(original);
    EXPECT_EQ(copy.getSummary(), original.getSummary());
    const auto query = boost::make_shared<Sequence>(1, "q", "query", "ACGT");
    copy.setQuery(query, Sequence::Range(2, 3));
    EXPECT_EQ(original.getQuery(), query);
    EXPECT_EQ(original[1]->getRange(0), Sequence::Range(2, 3));
    const auto subject = boost::make_shared<Sequence>(2, "s", "subject", "AC");
    XBlastHit assigned;
    assigned = original;
    assigned.setSubject(subject);
    EXPECT_EQ(original.getSubject(), subject);
    assigned.add(record(1, 0));
    EXPECT_EQ(original.size(), 2u);  // the vector itself is not shared
}

TEST(XBlastHit, LineSegRowKeepsLeadingRowsAndFillsThem) {
    XBlastHit hit;
    SeqAlign a = record(1, 0);
    a.setLineSegs(1, {{1, 4}, {5, 8}});
    SeqAlign b = record(1, 0);
    b.setLineSegs(1, {{10, 12}});
    hit.add(a);
    hit.add(b);
    std::vector<XBlastHit::Segments> rows(5, XBlastHit::Segments{{99, 99}});
    hit.getLineSegRow(rows, true, false);  // merge flag reaches the record
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (XBlastHit::Segments{{1, 8}}));
    EXPECT_EQ(rows[1], (XBlastHit::Segments{{10, 12}}));
    hit.getLineSegRow(rows, false, true);  // and so does the second flag
    EXPECT_EQ(rows[1], (XBlastHit::Segments{{30, 36}}));
}

TEST(XBlastHit, NullAlignmentsAreSkipped) {
    XBlastHit hit;
    hit.add(boost::shared_ptr<Alignment>());
    hit.add(record(3, 0, Sequence::Range(4, 6)));
    hit.add(boost::shared_ptr<Alignment>());
    EXPECT_EQ(hit.getScore(), 3);
    EXPECT_EQ(hit.getSubjectRange(), Sequence::Range(4, 6));
    const auto query = boost::make_shared<Sequence>();
    hit.setQuery(query, Sequence::Range());
    EXPECT_EQ(hit.getQuery(), query);
    std::vector<XBlastHit::Segments> rows(1, XBlastHit::Segments{{1, 1}});
    hit.getLineSegRow(rows, false, false);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].empty());
}

TEST(XBlastHit, DumpNestsSummaryAndAlignments) {
    XBlastHit hit(record(2, 0.25));
    hit.add(boost::shared_ptr<Alignment>());
    std::ostringstream noSummary;
    hit.dump(noSummary, 0);
    const std::string text = noSummary.str();
    EXPECT_EQ(text.rfind("XBlastHit {\n  id: 77\n  sourceID: sp|P77\n  summary: (null)\n  Alignment {\n", 0), 0u) << text;
    EXPECT_EQ(text.find("Alignment {"), text.rfind("Alignment {"));  // the null entry prints nothing
    EXPECT_EQ(text.substr(text.size() - 6), "  }\n}\n");
    hit.setSummary(boost::make_shared<Summary>());
    std::ostringstream withSummary;
    hit.dump(withSummary, 1);
    EXPECT_EQ(withSummary.str().find("summary:"), std::string::npos);
    EXPECT_NE(withSummary.str().find("\n    Summary {\n      database: -1\n"), std::string::npos);
}
