#include <norvext/results/XBlast.h>

#include <norvext/common/Visitor.h>
#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>
#include <norvext/query/Summary.h>

#include <norvseq/Alignment.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using namespace Norv;
typedef Sequence::Range Range;

namespace {

boost::shared_ptr<Sequence> letters(const std::string& text) { return boost::make_shared<Sequence>(1, "q", "q", text); }

SeqAlign record(unsigned int id, const std::string& sourceID, int score = 0) {
    SeqAlign r;
    r.setSubjectID(id);
    r.setSubjectSourceID(sourceID);
    r.setScore(score);
    return r;
}

std::vector<SeqAlign> subjects(unsigned int count) {
    std::vector<SeqAlign> records;
    for (unsigned int i = 0; i < count; ++i) {
        records.push_back(record(i, ""));
    }
    return records;
}

boost::shared_ptr<Summary> summary(unsigned int id, const std::string& sourceID) {
    auto s = boost::make_shared<Summary>(1, id, nullptr, nullptr, nullptr);
    s->setSourceID(sourceID);
    return s;
}

std::string text(const std::vector<char>& data) { return std::string(data.begin(), data.end()); }

int score(const XBlast& search, unsigned int hit, unsigned int alignment) {
    return search.getHit(hit)[alignment]->getSeqAlign().getScore();
}

}  // namespace

TEST(XBlast, DefaultRecordAndVisitor) {
    XBlast search;
    EXPECT_TRUE(search.empty());
    EXPECT_FALSE(search.isFastA());
    std::ostringstream os;
    search.dump(os, 0);
    EXPECT_EQ(os.str(), "XBlast {\n  query: (null)\n  start: 0\n  end: 0\n  params: (null)\n  fastA: (null)\n}\n");
    struct V : Common::VisitorBase, Common::Visitor<XBlast>, Common::Visitor<XBlastHit> {
        int records = 0, hits = 0;
        void visit(XBlast&) override { ++records; }
        void visit(XBlastHit&) override { ++hits; }
    } v;
    search.add(XBlastHit(record(1, "a")));
    search.accept(v);
    EXPECT_EQ(v.records, 1);
    EXPECT_EQ(v.hits, 0);
}

TEST(XBlast, ParamsDataTakesTheRangeIntoFastAFirst) {
    XBlast search;
    search.setQuery(letters("ABCDEFGHIJKLMNOPQRSU"), 4, 10);
    EXPECT_EQ(search.getRange(), Range(5, 14));
    auto blast = boost::make_shared<XBlastParams>();
    search.setParams(blast);
    search.setParamsData();
    EXPECT_EQ(text(blast->getData()), "EFGHIJKLMN");
    search.setRange(Range(18, 20));
    search.setParamsData();
    EXPECT_EQ(text(blast->getData()), "RSU");  // no RNA fix
    // A count of 0 is an invalid range: 0 letters from position 0, not 25.
    search.setRange(25, 0);
    EXPECT_EQ(search.getRange(), Range(26, 25));
    search.setParamsData();
    EXPECT_TRUE(blast->getData().empty());

    auto fasta = boost::make_shared<FastAParams>();
    search.setFastA(fasta);
    search.setRange(Range(1, 2));
    search.setParamsData();
    EXPECT_EQ(text(fasta->getData()), "AB");
    EXPECT_TRUE(blast->getData().empty());
    search.setRange(Range(15, 30));  // past the end: the sequence's error
    EXPECT_THROW(search.setParamsData(), std::out_of_range);
}

TEST(XBlast, MissingObjectsAreTolerated) {
    XBlast search;
    auto params = boost::make_shared<XBlastParams>();
    params->data().assign(2, 'x');
    search.setParams(params);
    search.setParamsData();  // no query
    EXPECT_EQ(text(params->getData()), "xx");
    search.cloneQuery();
    EXPECT_FALSE(search.getQuery());
    XBlast noParams(letters("ACGT"), Range(1, 4));
    noParams.setParamsData();
    EXPECT_FALSE(noParams.isProtein());
    noParams.add(XBlastHit(record(1, "a")));
    EXPECT_THROW(noParams.getHit(1), std::out_of_range);
    EXPECT_THROW(noParams[7], std::out_of_range);
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
    EXPECT_EQ(search.findHit("B", from), from);
    ++from;
    EXPECT_EQ(search.findHit("B", from) - search.begin(), 2);
    search.findHit(3u)->setSourceID("C");
    std::vector<std::string> names{"kept"};
    EXPECT_TRUE(search.getSourceIDSet(names));
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "A", "C", "B"}));
    std::vector<unsigned int> ids;
    EXPECT_FALSE(XBlast().getIDSet(ids));
    ids.push_back(1);
    EXPECT_TRUE(XBlast().getIDSet(ids));
}

TEST(XBlast, CopiesShareQueryParametersAndAlignments) {
    XBlast source(letters("ACGTACGT"), Range(1, 8));
    source.setParams(boost::make_shared<XBlastParams>());
    source.assign({record(1, "a")}, false);
    XBlast copy(source);
    copy.getParams()->setLimit(1234);
    EXPECT_EQ(source.getParams()->getLimit(), 1234);
    copy.add(XBlastHit(record(2, "b")));
    EXPECT_EQ(source.size(), 1u);

    const auto previous = source.getQuery();
    copy.cloneQuery();
    EXPECT_NE(copy.getQuery(), previous);
    EXPECT_EQ(copy.getQuery()->getLetters(), "ACGTACGT");
    EXPECT_EQ(source.getHit(0).getQuery(), previous);  // not before updateQuery
    copy.setRange(Range(2, 5));
    copy.updateQuery();
    EXPECT_EQ(source.getHit(0).getQuery(), copy.getQuery());
    EXPECT_EQ(source.getHit(0)[0]->getRange(0), Range(2, 5));
    EXPECT_EQ(source.getQuery(), previous);

    XBlast assigned;
    assigned = source;
    EXPECT_EQ(assigned.getParams(), source.getParams());
    EXPECT_EQ(assigned.getHit(0)[0], source.getHit(0)[0]);
}

TEST(XBlastImport, GroupsByFirstOccurrenceKeepingRecordOrder) {
    const auto query = letters("ACGT");
    XBlast search(query, Range(2, 3));
    search.add(XBlastHit(summary(99, "old")));
    search.assign({record(12, "x", 1), record(5, "y", 2), record(12, "z", 3), record(9, "x", 4), record(5, "y", 5)},
                  false);
    std::vector<unsigned int> ids;
    search.getIDSet(ids);
    EXPECT_EQ(ids, (std::vector<unsigned int>{12, 5, 9}));
    EXPECT_EQ(search.getHit(0).size() + search.getHit(1).size() + search.getHit(2).size(), 5u);
    EXPECT_EQ(score(search, 0, 1), 3);
    EXPECT_EQ(score(search, 1, 1), 5);
    EXPECT_EQ(search.getHit(2)[0]->getSequence(0), query);
    EXPECT_EQ(search.getHit(2)[0]->getRange(0), Range(2, 3));

    search.assign({record(12, "x", 1), record(12, "z", 3), record(9, "x", 4)}, true);
    ASSERT_EQ(search.size(), 2u);
    EXPECT_EQ(search.getHit(1).getSourceID(), "z");
    EXPECT_EQ(score(search, 0, 1), 4);

    search.assign(std::vector<SeqAlign>(), false);
    EXPECT_TRUE(search.empty());
    EXPECT_EQ(search.getQuery(), query);
}

TEST(XBlastImport, CapacityHintIsBoundedByRecords) {
    XBlast search;
    std::vector<SeqAlign> records = subjects(100);
    records.resize(120, record(0, ""));
    search.assign(records, false);
    EXPECT_EQ(search.getHits().capacity(), 100u);  // the default hint

    search.setParams(boost::make_shared<XBlastParams>());
    search.getParams()->setLimit(500);
    search.setFastA(boost::make_shared<FastAParams>());
    search.getFastA()->setLimit(7);
    search.assign(subjects(7), false);
    EXPECT_EQ(search.getHits().capacity(), 7u);
    search.assign(subjects(9), false);
    EXPECT_EQ(search.getHitCount(), 9u);  // not a cap

    search.setFastA(boost::shared_ptr<FastAParams>());
    search.getParams()->setLimit(-1);
    EXPECT_NO_THROW(search.assign(subjects(3), false));
    EXPECT_EQ(search.getHits().capacity(), 3u);
}

TEST(XBlastImport, SummariesAndSubjectsGoToTheFirstHitWithTheKey) {
    XBlast search;
    search.assign({record(1, "a"), record(2, "b")}, false);
    search.add(XBlastHit(record(1, "a")));
    const XBlast copy(search);
    const auto first = summary(1, "zzz");
    const auto later = summary(2, "b");
    search.assign({summary(2, ""), first, boost::shared_ptr<Summary>(), summary(42, "a"), later}, false);
    EXPECT_EQ(search.getHit(0).getSummary(), first);
    EXPECT_EQ(search.getHit(0).getSourceID(), "a");
    EXPECT_EQ(search.getHit(1).getSummary(), later);
    EXPECT_FALSE(search.getHit(2).getSummary());
    EXPECT_FALSE(copy.getHit(0).getSummary());  // hits are copies

    EXPECT_FALSE(search.addSubject(boost::shared_ptr<Sequence>(), false));
    EXPECT_FALSE(search.addSubject(boost::make_shared<Sequence>(1, "c", "s", ""), true));
    const auto subject = boost::make_shared<Sequence>(5, "a", "s", "");
    EXPECT_TRUE(search.addSubject(subject, true));
    EXPECT_EQ(search.getHit(0).getSubject(), subject);
    EXPECT_FALSE(search.getHit(2).getSubject());
    EXPECT_EQ(copy.getHit(0).getSubject(), subject);  // alignments are shared
}

TEST(XBlastImport, LineSetIsShiftedByTheRangeOffset) {
    SeqAlign a = record(1, "a");
    a.setLineSegs(1, {{15, 40}, {41, 50}});
    SeqAlign b = record(2, "b");
    b.setLineSegs(1, {{20, 25}});
    XBlast search(boost::shared_ptr<Sequence>(), Range(11, 60));
    search.setParams(boost::make_shared<XBlastParams>());
    search.assign({a, b}, false);

    XBlast::LineSet lines(5);
    EXPECT_TRUE(search.getLineSet(lines, false));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][0], (XBlastHit::Segments{{5, 30}, {31, 40}}));
    search.getLineSet(lines, true);  // the flag reaches the records
    EXPECT_EQ(lines[0][0], (XBlastHit::Segments{{5, 40}}));
    search.getParams()->setTranslated(true);
    search.getLineSet(lines, false);
    EXPECT_EQ(lines[1][0], (XBlastHit::Segments{{10, 15}}));
    search.getParams()->setProtein(true);
    search.getLineSet(lines, false);
    EXPECT_EQ(lines[1][0], (XBlastHit::Segments{{50, 65}}));

    for (const Range range : {Range(0, 0), Range(20, 10)}) {
        search.setRange(range);
        search.setParams(boost::shared_ptr<XBlastParams>());  // not translated
        search.getLineSet(lines, false);
        EXPECT_EQ(lines[1][0], (XBlastHit::Segments{{20, 25}}));
    }
    search.assign(std::vector<SeqAlign>(), false);
    EXPECT_FALSE(search.getLineSet(lines, false));
    EXPECT_TRUE(lines.empty());
}
