#include <norvext/query/DBQuery.h>
#include <norvext/query/DBRangeTerm.h>

#include <norvext/common/Visitor.h>
#include <norvext/common/internal/Persist.h>

#include "tests/query/TermBuffers.h"
#include "tests/support/Allocations.h"

#include <boost/weak_ptr.hpp>
#include <gtest/gtest.h>

#include <locale>
#include <sstream>

using Norv::AlignedBuf;
using Norv::DBBooleanTerm;
using Norv::DBQuery;
using Norv::DBTerm;
using Norv::Summary;
using NorvTest::leaf;
using IDs = DBQuery::DBIDSet;

namespace {

boost::shared_ptr<Summary> hit(unsigned int id) { return boost::make_shared<Summary>(3, id, "t", nullptr, nullptr); }

struct Recorder : Common::VisitorBase, Common::Visitor<Summary>, Common::Visitor<DBBooleanTerm> {
    std::vector<unsigned int> ids;
    int terms = 0;
    void visit(Summary& s) override { ids.push_back(s.getID()); }
    void visit(DBBooleanTerm&) override { ++terms; }
};

// What read() takes before the term: no ids, hitCount 0, empty texts, wildcard.
AlignedBuf queryHead() {
    AlignedBuf buf;
    Norv::internal::putString(buf, "-1");
    for (unsigned int word : {0u, 0u, 0u, 1u}) {
        buf.put(word);
    }
    return buf;
}

// Groups digits by threes with a comma, as some locales do.
struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

}  // namespace

TEST(DBQuery, DatabaseIdsAndTheirText) {
    DBQuery query;
    EXPECT_EQ(query.getDatabase(), -1);
    EXPECT_EQ(query.getDatabasesStr(), "-1");
    EXPECT_TRUE(query.isWildcard());
    EXPECT_EQ(DBQuery(-1).getDatabasesStr(), "-1 ");
    query.addDatabase(5);
    query.addDatabase(5);
    EXPECT_EQ(query.getDatabase(), -1);
    EXPECT_EQ(query.getDatabasesStr(), "5 5 ");
    query.setDatabase(7);
    query.setDatabase("embl");
    EXPECT_EQ(query.getDatabase(), 7);
    EXPECT_EQ(query.getDBName(), "embl");
    for (const char* text : {" 3\t-4 ", "-1", "x 5", "8,9"}) {
        query.setDatabasesStr(text);
    }
    EXPECT_EQ(query.getDatabases(), (IDs{7, 3, -4, 8}));

    // The text is persisted: a global locale that groups digits must not change it.
    const std::locale saved = std::locale::global(std::locale(std::locale::classic(), new Grouping));
    DBQuery big(12345);
    big.setDatabasesStr("67890");
    const std::string text = big.getDatabasesStr();
    std::locale::global(saved);
    EXPECT_EQ(text, "12345 67890 ");
}

TEST(DBQuery, WritesTheTypicalRoadInOrder) {
    const auto range = boost::make_shared<Norv::DBRangeTerm>(2, "", "");
    AlignedBuf buf;
    DBQuery(7, boost::make_shared<DBBooleanTerm>(leaf(1), DBBooleanTerm::AND, range)).write(buf);
    // "7 " (length 2, one padded word), hitCount, dbSource, dbName, wildcard,
    // the tree in prefix order, no hits.
    const std::vector<std::uint32_t> expected = {2, 0x2037, 0, 0, 0, 1, 3, 1, 2, 1, 1, 0, 0, 0, 2, 2, 0, 0, 0, 0};
    EXPECT_EQ(NorvTest::words(buf), expected);
}

TEST(DBQuery, RoundTripsAndReadAppendsIdsAndHits) {
    DBQuery original("nrdb", boost::make_shared<DBBooleanTerm>(leaf(4), DBBooleanTerm::NOT));
    original.setDatabase(3);
    original.addDatabase(17);
    original.setHitCount(12);
    original.setDBSource(NorvTest::awkwardText());
    original.setWildcard(false);
    for (unsigned int id : {10u, 20u, 30u}) {
        original.add(hit(id));
    }
    AlignedBuf once, twice;
    original.write(once);
    original.write(twice);
    original.write(twice);

    DBQuery read;
    read.read(twice);
    EXPECT_EQ(read.getDatabases(), (IDs{3, 17}));
    EXPECT_EQ(read.getHitCount(), 12);
    EXPECT_EQ(read.getDBSource(), NorvTest::awkwardText());
    EXPECT_EQ(read.getDBName(), "nrdb");
    EXPECT_FALSE(read.isWildcard());
    AlignedBuf again;
    read.write(again);  // term tree and hits as they came
    EXPECT_EQ(NorvTest::words(again), NorvTest::words(once));

    const auto firstTerm = read.getTerm();
    read.setHitCount(1);
    read.read(twice);
    EXPECT_EQ(read.getDatabases(), (IDs{3, 17, 3, 17}));
    EXPECT_EQ(read.getHitCount(), 12);
    EXPECT_NE(read.getTerm(), firstTerm);
    EXPECT_EQ(read.size(), 6u);
}

TEST(DBQuery, ReadRebuildsTheTermAsTheFactoryDoes) {
    AlignedBuf unknown = queryHead();
    unknown.put(5u);
    const auto oldTerm = leaf(1);
    DBQuery query(1, oldTerm);
    EXPECT_EQ(NorvTest::errorOf([&] { query.read(unknown); }), "TermFactory::create: Invalid term type: 5");
    EXPECT_EQ(query.getTerm(), oldTerm);

    AlignedBuf atLimit = queryHead(), deeper = queryHead();
    NorvTest::putNestedBooleans(atLimit, DBTerm::s_maxDepth);
    NorvTest::putNestedBooleans(deeper, DBTerm::s_maxDepth + 1);
    atLimit.put(0u);
    deeper.put(0u);
    query.read(atLimit);
    EXPECT_EQ(NorvTest::depthOf(query.getTerm()), DBTerm::s_maxDepth);
    EXPECT_EQ(NorvTest::errorOf([&] { DBQuery().read(deeper); }),
              "TermFactory::create: Term nesting deeper than 256 levels");
}

TEST(DBQuery, FailedReadHoldsTheNewPartlyReadTerm) {
    AlignedBuf cut = queryHead();
    cut.put(3u);  // an OR announcing two children, only the first of them there
    cut.put(2u);
    cut.put(2u);
    leaf(8)->write(cut);
    boost::shared_ptr<DBTerm> oldTerm = leaf(1);
    const boost::weak_ptr<DBTerm> watch = oldTerm;
    DBQuery query(1, oldTerm);
    oldTerm.reset();
    EXPECT_THROW(query.read(cut), std::out_of_range);
    EXPECT_TRUE(watch.expired());  // released, not kept for a retry
    const auto* root = dynamic_cast<const DBBooleanTerm*>(query.getTerm().get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getOp(), DBBooleanTerm::OR);
    ASSERT_EQ(root->getTerms().size(), 1u);
    EXPECT_EQ(NorvTest::wordsOf(*root->getTerms()[0]), NorvTest::wordsOf(*leaf(8)));
}

TEST(DBQuery, HostileHitCountFailsAtTheDataEndAndKeepsTheHitsRead) {
    AlignedBuf buf = queryHead();
    leaf(2)->write(buf);
    buf.put(NorvTest::kHostileCount);  // on any size_t: only the data's end stops the read
    hit(5)->write(buf);
    DBQuery query;
    query.add(hit(1));
    EXPECT_TRUE(NorvTest::failsCheaply([&] { query.read(buf); }));
    ASSERT_EQ(query.size(), 2u);
    EXPECT_EQ(query.getHits()[0]->getID(), 1u);
    EXPECT_EQ(query.getHits()[1]->getID(), 5u);
    EXPECT_EQ(NorvTest::wordsOf(*query.getTerm()), NorvTest::wordsOf(*leaf(2)));
}

TEST(DBQuery, WhatCannotTravelWritesNothing) {
    AlignedBuf buf;
    DBQuery(3).write(buf);
    DBQuery nullHit(3, leaf(1));
    nullHit.add(nullptr);
    EXPECT_THROW(nullHit.write(buf), std::invalid_argument);
    DBQuery nullChild(3, boost::make_shared<DBBooleanTerm>(nullptr, DBBooleanTerm::OR));
    EXPECT_THROW(nullChild.write(buf), std::invalid_argument);
    EXPECT_EQ(buf.size(), 0u);
}

TEST(DBQuery, ClearDropsHitsAndTheirCountOnly) {
    const std::vector<boost::shared_ptr<Summary>> hits = {hit(1), hit(2)};
    DBQuery query(2, leaf(1));
    query.add(hits.begin(), hits.end());
    query.setHitCount(40);
    EXPECT_EQ(query.size(), 2u);
    query.clear();
    EXPECT_EQ(query.size() + query.getHitCount(), 0);
    EXPECT_TRUE(query.getTerm() && query.getDatabase() == 2);
}

TEST(DBQuery, VisitsTheRootTermAndTheHitsOnly) {
    DBQuery query(1, boost::make_shared<DBBooleanTerm>(boost::make_shared<DBBooleanTerm>(), DBBooleanTerm::AND));
    query.add(hit(5));
    query.add(nullptr);
    query.add(hit(6));
    Recorder recorder;
    query.accept(recorder);
    query.visitTerm(recorder);
    query.visitResult(recorder);
    DBQuery().visitTerm(recorder);
    EXPECT_EQ(recorder.terms, 1);
    EXPECT_EQ(recorder.ids, (std::vector<unsigned int>{5, 6}));
}

TEST(DBQuery, DumpPrintsOnlyWhatIsThere) {
    std::ostringstream os;
    DBQuery().dump(os, 0);
    DBQuery query(3, boost::make_shared<DBBooleanTerm>(DBBooleanTerm::OR));
    query.add(nullptr);
    query.dump(os, 0);
    EXPECT_EQ(os.str(),
              "DBQuery {\n  database: -1\n  hitCount: 0\n  dbSource: \n  dbName: \n  wildcard: true\n}\n"
              "DBQuery {\n  database: 3 \n  hitCount: 0\n  dbSource: \n  dbName: \n  wildcard: true\n"
              "  DBBooleanTerm {\n    op: OR\n  }\n}\n");
}
