#include <norvext/results/XBlast.h>

#include <norvext/common/Visitor.h>
#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>

#include <norvseq/Alignment.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using Norv::FastAParams;
using Norv::SeqAlign;
using Norv::Sequence;
using Norv::XBlast;
using Norv::XBlastHit;
using Norv::XBlastParams;

namespace {

boost::shared_ptr<Sequence> letters(const std::string& text, const std::string& name = "q") {
    return boost::make_shared<Sequence>(1, "lcl|" + name, name, text);
}

XBlastHit hit(unsigned int id, const std::string& sourceID) {
    SeqAlign record;
    record.setSubjectID(id);
    record.setSubjectSourceID(sourceID);
    return XBlastHit(record);
}

std::string text(const std::vector<char>& data) { return std::string(data.begin(), data.end()); }

}  // namespace

TEST(XBlast, DefaultRecordDumpsOnlyItsHeader) {
    const XBlast record;
    EXPECT_TRUE(record.empty());
    EXPECT_EQ(record.getHitCount(), 0u);
    EXPECT_FALSE(record.isFastA());
    EXPECT_FALSE(record.isProtein());  // no parameters to ask
    std::ostringstream os;
    record.dump(os, 0);
    EXPECT_EQ(os.str(), "XBlast {\n  query: (null)\n  start: 0\n  end: 0\n  params: (null)\n  fastA: (null)\n}\n");
}

TEST(XBlast, DumpNestsParametersAndHitsInOrder) {
    XBlast record(letters("ACGT", "myQuery"), Sequence::Range(2, 3));
    record.setParams(boost::make_shared<XBlastParams>());
    record.add(hit(4, "sp|A"));
    record.setOutput("not dumped");
    std::ostringstream os;
    record.dump(os, 1);
    const std::string out = os.str();
    EXPECT_EQ(out.rfind("  XBlast {\n    query: myQuery\n    start: 2\n    end: 3\n    XBlastParams {\n", 0), 0u);
    EXPECT_EQ(out.find("params:"), std::string::npos);
    const auto fastA = out.find("\n    fastA: (null)\n");
    const auto hitBlock = out.find("\n    XBlastHit {\n      id: 4\n");
    ASSERT_NE(fastA, std::string::npos);
    EXPECT_GT(hitBlock, fastA);
    EXPECT_EQ(out.find("not dumped"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 4), "  }\n");
}

TEST(XBlast, RangeSettersAndParamsData) {
    XBlast record;
    record.setQuery(letters("ABCDEFGHIJKLMNOPQRST"), 4, 10);
    EXPECT_EQ(record.getRange(), Sequence::Range(5, 14));
    auto params = boost::make_shared<XBlastParams>();
    params->data().assign(3, 'x');
    record.setParams(params);
    record.setParamsData();
    EXPECT_EQ(text(params->getData()), "EFGHIJKLMN");

    // A count of 0 stores an invalid range: nothing is copied, from position
    // 0 (position 25 lies past the end and would be refused).
    record.setRange(25, 0);
    EXPECT_EQ(record.getRange(), Sequence::Range(26, 25));
    record.setParamsData();
    EXPECT_TRUE(params->getData().empty());

    // A range past the end of the query: the sequence's error passes through.
    record.setRange(Sequence::Range(15, 30));
    EXPECT_THROW(record.setParamsData(), std::out_of_range);
}

TEST(XBlast, ParamsDataGoesToFastAFirstWithoutLetterFix) {
    XBlast record(letters("GGUUAC"), Sequence::Range(2, 4));
    auto blast = boost::make_shared<XBlastParams>();  // not protein: setData() would fix U
    record.setParams(blast);
    record.setParamsData();
    EXPECT_EQ(text(blast->getData()), "GUU");
    auto fasta = boost::make_shared<FastAParams>();
    record.setFastA(fasta);
    record.setRange(Sequence::Range(5, 6));
    record.setParamsData();
    EXPECT_EQ(text(fasta->getData()), "AC");
    EXPECT_EQ(text(blast->getData()), "GUU");
}

TEST(XBlast, MissingObjectsAreTolerated) {
    XBlast record;
    auto params = boost::make_shared<XBlastParams>();
    params->data().assign(2, 'x');
    record.setParams(params);
    record.setParamsData();  // no query
    EXPECT_EQ(text(params->getData()), "xx");
    record.cloneQuery();
    EXPECT_FALSE(record.getQuery());
    XBlast noParams(letters("ACGT"), Sequence::Range(1, 4));
    noParams.setParamsData();
    EXPECT_FALSE(noParams.isProtein());
    noParams.add(hit(1, "a"));
    EXPECT_EQ(noParams.getHit(0).getID(), 1u);
    EXPECT_THROW(noParams.getHit(1), std::out_of_range);
    EXPECT_THROW(noParams[7], std::out_of_range);
}

TEST(XBlast, LookupsTakeTheFirstMatch) {
    XBlast record;
    record.add(hit(7, "sp|A"));
    record.add(hit(3, "sp|B"));
    record.add(hit(7, "sp|B"));
    EXPECT_EQ(record.findHit(7u), record.begin());
    EXPECT_EQ(record.findHit(8u), record.end());
    EXPECT_EQ(record.findHit("sp|B") - record.begin(), 1);
    EXPECT_EQ(record.findHit("sp|b"), record.end());
    XBlast::const_iterator from = record.findHit("sp|B");
    const XBlast::const_iterator at = from;
    EXPECT_EQ(record.findHit("sp|B", from), at);
    ++from;
    EXPECT_EQ(record.findHit("sp|B", from) - record.begin(), 2);
    XBlast::iterator modifiable = record.findHit(3u);
    modifiable->setSourceID("changed");
    EXPECT_EQ(record.getHit(1).getSourceID(), "changed");

    std::vector<unsigned int> ids;
    EXPECT_TRUE(record.getIDSet(ids));
    EXPECT_EQ(ids, (std::vector<unsigned int>{7, 3, 7}));
    std::vector<std::string> names{"kept"};
    EXPECT_TRUE(record.getSourceIDSet(names));
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "sp|A", "changed", "sp|B"}));

    const XBlast none;
    ids.clear();
    EXPECT_FALSE(none.getIDSet(ids));
    ids.push_back(1);
    EXPECT_TRUE(none.getIDSet(ids));
}

TEST(XBlast, CopiesShareQueryParametersAndAlignments) {
    XBlast source(letters("ACGTACGT"), Sequence::Range(1, 8));
    source.setParams(boost::make_shared<XBlastParams>());
    source.add(hit(1, "a"));
    source.updateQuery();
    XBlast copy(source);
    EXPECT_EQ(copy.getQuery(), source.getQuery());
    copy.getParams()->setLimit(1234);
    EXPECT_EQ(source.getParams()->getLimit(), 1234);
    copy.add(hit(2, "b"));
    EXPECT_EQ(source.size(), 1u);

    const auto previous = source.getQuery();
    copy.cloneQuery();
    ASSERT_TRUE(copy.getQuery());
    EXPECT_NE(copy.getQuery(), previous);
    EXPECT_EQ(copy.getQuery()->getLetters(), "ACGTACGT");
    EXPECT_EQ(source.getQuery(), previous);
    EXPECT_EQ(source.getHit(0).getQuery(), previous);  // not until updateQuery
    copy.setRange(Sequence::Range(2, 5));
    copy.updateQuery();
    EXPECT_EQ(source.getHit(0).getQuery(), copy.getQuery());
    EXPECT_EQ(source.getHit(0)[0]->getRange(0), Sequence::Range(2, 5));
    EXPECT_EQ(source.getQuery(), previous);

    XBlast assigned;
    assigned = source;
    EXPECT_EQ(assigned.getParams(), source.getParams());
    EXPECT_EQ(assigned.getHit(0)[0], source.getHit(0)[0]);
}

TEST(XBlast, SetQueryLeavesHitsUntilUpdate) {
    const auto first = letters("AAAA", "first");
    const auto second = letters("CCCC", "second");
    XBlast record(first, Sequence::Range(1, 4));
    record.add(hit(1, "a"));
    record.add(hit(2, "b"));
    record.updateQuery();
    record.setQuery(second, Sequence::Range(2, 3));
    EXPECT_EQ(record.getHit(1).getQuery(), first);
    record.updateQuery();
    for (const XBlastHit& each : record) {
        EXPECT_EQ(each.getQuery(), second);
        EXPECT_EQ(each[0]->getRange(0), Sequence::Range(2, 3));
    }
}

TEST(XBlast, AcceptVisitsTheRecordOnly) {
    struct V : Common::VisitorBase, Common::Visitor<XBlast>, Common::Visitor<XBlastHit> {
        int records = 0, hits = 0;
        void visit(XBlast&) override { ++records; }
        void visit(XBlastHit&) override { ++hits; }
    } v;
    struct Other : Common::VisitorBase, Common::Visitor<XBlastHit> {
        int hits = 0;
        void visit(XBlastHit&) override { ++hits; }
    } other;
    XBlast record;
    record.add(hit(1, "a"));
    record.accept(v);
    record.accept(other);
    EXPECT_EQ(v.records, 1);
    EXPECT_EQ(v.hits, 0);
    EXPECT_EQ(other.hits, 0);
}
