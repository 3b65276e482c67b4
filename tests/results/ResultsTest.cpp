// XBlast and XBlastHit: ranges and offsets, first-match rules, grouping,
// sharing between copies and the dump of what is null; the example
// similarity_road shows the rest at work.
#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>
#include <norvext/query/Summary.h>
#include <norvext/results/XBlast.h>

#include <norvseq/Alignment.h>

#include "tests/support/GTestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <stdexcept>

using namespace Norv;
typedef Sequence::Range Range;
typedef XBlastHit::Segments Segments;

namespace {

// Stands in a score list for a null alignment entry.
const int kNull = INT_MIN;

// E-value and bit score tell which record an answer came from.
SeqAlign record(unsigned int id, const std::string& sourceID, int score = 0) {
    SeqAlign r;
    r.setSubjectID(id);
    r.setSubjectSourceID(sourceID);
    r.setScore(score);
    r.setEValue(score / 100.0);
    r.setBitScore(score * 2.0);
    r.setSubjectRange(Range(1, 10));
    r.setLineSegs(1, {{15, 40}, {41, 50}});
    return r;
}

// A hit on subject 77 with alignments of these scores (kNull: a null entry).
XBlastHit hitWith(const std::vector<int>& scores) {
    XBlastHit hit;
    for (int score : scores) {
        if (score == kNull) {
            hit.add(boost::shared_ptr<Alignment>());
        } else {
            hit.add(record(77, "sp|P77", score));
        }
    }
    return hit;
}

boost::shared_ptr<Sequence> letters(const std::string& text) { return boost::make_shared<Sequence>(1, "q", "qname", text); }

boost::shared_ptr<Summary> summary(unsigned int id, const std::string& sourceID) {
    auto s = boost::make_shared<Summary>(1, id, nullptr, nullptr, nullptr);
    s->setSourceID(sourceID);
    return s;
}

std::string text(const std::vector<char>& data) { return std::string(data.begin(), data.end()); }

}  // namespace

TEST(XBlastHit, BestIsHighestScoreFirstOfTiesAmongNonNull) {
    // best: the index of the best alignment, -1 for none.
    const struct { std::vector<int> scores; int best; } cases[] = {{{}, -1}, {{kNull}, -1}, {{5, 9, 9, 3}, 1}, {{-5, -2}, 1}, {{kNull, 3, kNull}, 1}};
    for (const auto& c : cases) {
        const XBlastHit hit = hitWith(c.scores);
        const int score = c.best < 0 ? 0 : c.scores[c.best];
        EXPECT_EQ(hit.getBestMatch(), c.best < 0 ? boost::shared_ptr<Alignment>() : hit[c.best]) << c.best;
        EXPECT_EQ(hit.getScore(), score);
        EXPECT_EQ(hit.getEValue(), score / 100.0);
        EXPECT_EQ(hit.getBitScore(), score * 2.0);
    }
    EXPECT_EQ(hitWith({}).getSubjectRange(), Range(4294967295u, 0));
    EXPECT_EQ(hitWith({kNull, 1}).getSubjectRange(), Range(1, 10));
}

// tests/golden/XBlast.txt: a search without anything, then one whose hit
// has a null alignment, at level 1, then with FastA settings.
TEST(XBlast, DumpNamesWhatIsNullAndSkipsNullAlignments) {
    XBlast search;
    std::string dumps = NorvTest::dumpOf(search, 0);
    search.setQuery(letters("ACGT"), Range(2, 3));
    search.add(hitWith({kNull, 2}));
    search.updateQuery();
    dumps += NorvTest::dumpOf(search, 1);
    search.setFastA(boost::make_shared<FastAParams>());
    NorvTest::checkGolden("XBlast.txt", dumps + NorvTest::dumpOf(search, 0));
}

TEST(XBlast, ParamsDataCopiesTheRangeIntoFastAElseBlast) {
    XBlast ranged;
    ranged.setQuery(letters("ABCDEFGHIJKLMNOPQRSU"), 4, 10);
    EXPECT_EQ(ranged.getRange(), Range(5, 14));
    // expected null: the sequence's out_of_range passes through, the data kept.
    const struct { Range range; bool fastA; const char* expected; } cases[] = {
        {Range(5, 14), false, "EFGHIJKLMN"}, {Range(18, 20), false, "RSU"},  // no RNA fix
        {Range(26, 25), false, ""},  // invalid: 0 letters from position 0, not 25
        {Range(0, 0), false, ""},    {Range(1, 2), true, "AB"},     {Range(15, 30), true, nullptr},
        {Range(18, 21), false, nullptr},  // one letter too many
    };
    for (const auto& c : cases) {
        XBlast search(letters("ABCDEFGHIJKLMNOPQRSU"), c.range);
        auto blast = boost::make_shared<XBlastParams>();
        auto fastA = boost::make_shared<FastAParams>();
        blast->data().assign(2, 'x');
        fastA->data().assign(2, 'y');
        search.setParams(blast);
        search.setFastA(c.fastA ? fastA : nullptr);
        if (c.expected == nullptr) {
            EXPECT_THROW(search.setParamsData(), std::out_of_range);
        } else {
            search.setParamsData();
        }
        const char* expected = c.expected != nullptr ? c.expected : c.fastA ? "yy" : "xx";
        EXPECT_EQ(text(c.fastA ? fastA->getData() : blast->getData()), expected) << c.range.start;
        EXPECT_EQ(text(blast->getData()), c.fastA ? "xx" : expected);
        search.setQuery(nullptr);
        search.setParamsData();  // without a query: nothing
        EXPECT_EQ(text(blast->getData()), c.fastA ? "xx" : expected);
    }
    ranged.setRange(25, 0);  // a count of 0 is an invalid range
    EXPECT_EQ(ranged.getRange(), Range(26, 25));
}

TEST(XBlast, LookupsTakeTheFirstMatch) {
    XBlast search;
    for (const SeqAlign& each : {record(7, "A"), record(3, "B"), record(7, "B")}) {
        search.add(XBlastHit(each));
    }
    EXPECT_EQ(search.findHit(7u), search.begin());
    EXPECT_EQ(search.findHit("B") - search.begin(), 1);
    EXPECT_EQ(search.findHit("b"), search.end());
    XBlast::const_iterator from = search.begin() + 1;
    EXPECT_EQ(search.findHit("B", from), from);  // `from` itself may be the answer
    ++from;
    EXPECT_EQ(search.findHit("B", from) - search.begin(), 2);
    search.findHit(3u)->setSourceID("C");
    std::vector<std::string> names{"kept"};
    EXPECT_TRUE(search.getSourceIDSet(names));
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "A", "C", "B"}));
    EXPECT_THROW(search.getHit(3), std::out_of_range);
}

TEST(XBlast, CopiesShareQueryParametersAndAlignments) {
    XBlast source(letters("ACGTACGT"), Range(1, 8));
    source.setParams(boost::make_shared<XBlastParams>());
    source.setFastA(boost::make_shared<FastAParams>());
    source.assign({record(1, "a")}, false);
    source.assign({summary(1, "s")}, false);
    XBlast copy(source);
    EXPECT_EQ(copy.getParams(), source.getParams());
    EXPECT_EQ(copy.getFastA(), source.getFastA());
    EXPECT_EQ(copy[0].getSummary(), source[0].getSummary());
    copy.add(XBlastHit(record(2, "b")));
    EXPECT_EQ(source.size(), 1u);

    const auto previous = source.getQuery();
    copy.cloneQuery();
    EXPECT_NE(copy.getQuery(), previous);
    EXPECT_EQ(source[0].getQuery(), previous);  // not before updateQuery
    copy.setRange(Range(2, 5));
    copy.updateQuery();
    EXPECT_EQ(source[0].getQuery(), copy.getQuery());
    EXPECT_EQ(source[0][0]->getRange(0), Range(2, 5));
    EXPECT_EQ(source.getQuery(), previous);
    const XBlastHit fromSummary(source[0].getSummary());
    EXPECT_EQ(fromSummary.getID(), 1u);
    EXPECT_EQ(fromSummary.getSourceID(), "s");
}

TEST(XBlastImport, GroupsByFirstOccurrenceKeepingRecordOrder) {
    XBlast search(letters("ACGT"), Range(2, 3));
    search.add(XBlastHit(summary(99, "old")));
    search.assign({record(12, "x", 1), record(5, "y", 2), record(12, "z", 3), record(9, "x", 4), record(5, "y", 5)},
                  false);
    std::vector<unsigned int> ids{1};  // appended to, never emptied
    EXPECT_TRUE(search.getIDSet(ids));
    EXPECT_EQ(ids, (std::vector<unsigned int>{1, 12, 5, 9}));
    EXPECT_EQ(search[0].size() + search[1].size() + search[2].size(), 5u);
    EXPECT_EQ(search[0][1]->getSeqAlign().getScore(), 3);
    EXPECT_EQ(search[1][1]->getSeqAlign().getScore(), 5);
    EXPECT_EQ(search[2][0]->getSequence(0), search.getQuery());
    EXPECT_EQ(search[2][0]->getRange(0), Range(2, 3));

    // An unlimited hit count must not turn into a reservation of 2^32 hits.
    search.setParams(boost::make_shared<XBlastParams>());
    search.getParams()->setLimit(-1);
    search.assign({record(12, "x", 1), record(12, "z", 3), record(9, "x", 4)}, true);
    ASSERT_EQ(search.size(), 2u);
    EXPECT_EQ(search[1].getSourceID(), "z");
    EXPECT_EQ(search[0][1]->getSeqAlign().getScore(), 4);
    search.assign(std::vector<SeqAlign>(), false);
    EXPECT_TRUE(search.empty());
}

TEST(XBlastImport, SummariesAndSubjectsGoToTheFirstHitWithTheKey) {
    XBlast search;
    search.assign({record(1, "a"), record(2, "b"), record(1, "a")}, false);
    search.add(XBlastHit(record(1, "a")));
    const XBlast copy(search);
    const auto first = summary(1, "zzz"), later = summary(2, "b"), bySource = summary(9, "a");
    search.assign({summary(2, ""), first, boost::shared_ptr<Summary>(), summary(42, "a"), later}, false);
    EXPECT_EQ(search[0].getSummary(), first);
    EXPECT_EQ(search[0].getSourceID(), "a");
    EXPECT_EQ(search[1].getSummary(), later);
    EXPECT_FALSE(search[2].getSummary());
    EXPECT_FALSE(copy[0].getSummary());  // hits are copies
    search.assign({bySource}, true);
    EXPECT_EQ(search[0].getSummary(), bySource);
    EXPECT_FALSE(search[2].getSummary());

    EXPECT_FALSE(search.addSubject(nullptr, false));
    EXPECT_FALSE(search.addSubject(boost::make_shared<Sequence>(1, "c", "s", ""), true));
    const auto subject = boost::make_shared<Sequence>(5, "a", "s", "");
    EXPECT_TRUE(search.addSubject(subject, true));
    EXPECT_EQ(search[0][1]->getSequence(1), subject);
    EXPECT_FALSE(search[2].getSubject());
    EXPECT_EQ(copy[0].getSubject(), subject);  // alignments are shared
}

TEST(XBlastImport, LineSetIsShiftedByTheRangeOffset) {
    // params 0: none, 1: plain, 2: translated, 3: protein, 4: protein and translated.
    const struct { Range range; int params; bool merge; Segments expected; } cases[] = {
        {Range(11, 60), 1, false, {{5, 30}, {31, 40}}},   {Range(11, 60), 1, true, {{5, 40}}},
        {Range(11, 60), 2, false, {{5, 30}, {31, 40}}},   {Range(11, 60), 3, false, {{5, 30}, {31, 40}}},
        {Range(11, 60), 4, false, {{35, 110}, {113, 140}}}, {Range(31, 60), 0, false, {{-15, 10}, {11, 20}}},
        {Range(1, 60), 1, false, {{15, 40}, {41, 50}}},   {Range(0, 0), 1, false, {{15, 40}, {41, 50}}},
        {Range(20, 10), 0, false, {{15, 40}, {41, 50}}},
    };
    for (const auto& c : cases) {
        XBlast search(nullptr, c.range);
        if (c.params > 0) {
            search.setParams(boost::make_shared<XBlastParams>());
            search.getParams()->setTranslated(c.params % 2 == 0);
            search.getParams()->setProtein(c.params >= 3);
        }
        search.assign({record(1, "a")}, false);
        search.add(hitWith({kNull, 1}));
        XBlast::LineSet lines(5, {Segments{{99, 99}}});
        EXPECT_TRUE(search.getLineSet(lines, c.merge));
        ASSERT_EQ(lines.size(), 2u);
        ASSERT_EQ(lines[1].size(), 2u);
        EXPECT_TRUE(lines[1][0].empty());
        EXPECT_EQ(lines[0][0], c.expected) << c.range.start << " " << c.params;
        EXPECT_EQ(lines[1][1], c.expected);
    }
    XBlast::LineSet lines(1);
    EXPECT_FALSE(XBlast().getLineSet(lines, false));
    EXPECT_TRUE(lines.empty());
}
