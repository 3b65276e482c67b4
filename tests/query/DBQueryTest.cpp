#include <norvext/query/DBQuery.h>

#include <norvext/common/Visitor.h>

#include "tests/query/Terms.h"
#include "tests/support/Hostile.h"
#include "tests/support/Samples.h"

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

// What read() takes before the term: the sample query without term and hits.
AlignedBuf queryHead() {
    AlignedBuf whole;
    NorvTest::samples<DBQuery>()[0].write(whole);
    std::vector<unsigned char> bytes = whole.bytes();
    bytes.resize(bytes.size() - 16);  // an empty AND (three words), no hits (one)
    return AlignedBuf(bytes);
}

// Groups digits by threes with a comma, as some locales do.
struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

struct Recorder : Common::VisitorBase, Common::Visitor<Summary>, Common::Visitor<DBBooleanTerm> {
    std::vector<unsigned int> ids;
    int terms = 0;
    void visit(Summary& s) override { ids.push_back(s.getID()); }
    void visit(DBBooleanTerm&) override { ++terms; }
};

}  // namespace

TEST(DBQuery, DatabaseIdsAndTheirText) {
    DBQuery query;
    EXPECT_EQ(query.getDatabase(), -1);
    EXPECT_EQ(query.getDatabasesStr(), "-1");
    EXPECT_EQ(DBQuery(-1).getDatabasesStr(), "-1 ");
    query.addDatabase(5);
    query.addDatabase(5);
    EXPECT_EQ(query.getDatabase(), -1);  // only one database names it
    EXPECT_EQ(query.getDatabasesStr(), "5 5 ");
    query.setDatabase(7);
    EXPECT_EQ(query.getDatabase(), 7);
    for (const char* text : {" 3\t-4 ", "-1", "x 5", "8,9"}) {
        query.setDatabasesStr(text);  // appends what parses, up to the first text that does not
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

TEST(DBQuery, ReadRebuildsTheTermAsTheFactoryDoes) {
    AlignedBuf unknown = queryHead(), deeper = queryHead();
    unknown.put(5u);
    NorvTest::putNestedBooleans(deeper, DBTerm::s_maxDepth + 1);
    const auto oldTerm = leaf(1);
    DBQuery query(1, oldTerm);
    EXPECT_EQ(NorvTest::errorOf([&] { query.read(unknown); }), "TermFactory::create: Invalid term type: 5");
    EXPECT_EQ(query.getTerm(), oldTerm);
    EXPECT_EQ(NorvTest::errorOf([&] { query.read(deeper); }),
              "TermFactory::create: Term nesting deeper than 256 levels");
}

TEST(DBQuery, FailedReadReleasesTheOldTerm) {
    AlignedBuf cut = queryHead();
    for (unsigned int word : {3u, 2u, 2u}) {  // an OR announcing two children, only one there
        cut.put(word);
    }
    leaf(8)->write(cut);
    boost::shared_ptr<DBTerm> oldTerm = leaf(1);
    const boost::weak_ptr<DBTerm> watch = oldTerm;
    DBQuery query(1, oldTerm);
    oldTerm.reset();
    EXPECT_THROW(query.read(cut), std::out_of_range);
    EXPECT_TRUE(watch.expired());
    const auto* root = dynamic_cast<const DBBooleanTerm*>(query.getTerm().get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(NorvTest::leafField(*root, 0), 8);
}

TEST(DBQuery, HostileHitCountFailsAtTheDataEndAndKeepsTheHitsRead) {
    AlignedBuf buf = queryHead();
    leaf(2)->write(buf);
    buf.put(NorvTest::kHostileCount);
    hit(5)->write(buf);
    DBQuery query;
    query.add(hit(1));
    EXPECT_TRUE(NorvTest::failsOnHostileCount<DBQuery::Hits::value_type>([&] { query.read(buf); }, false));
    ASSERT_EQ(query.size(), 2u);
    EXPECT_EQ(query.getHits()[0]->getID(), 1u);
    EXPECT_EQ(query.getHits()[1]->getID(), 5u);
}

TEST(DBQuery, WhatCannotTravelWritesNothing) {
    AlignedBuf buf;
    DBQuery(3).write(buf);  // no term
    DBQuery nullHit(3, leaf(1));
    nullHit.add(nullptr);
    EXPECT_THROW(nullHit.write(buf), std::invalid_argument);
    DBQuery nullChild(3, boost::make_shared<DBBooleanTerm>(nullptr, DBBooleanTerm::OR));
    EXPECT_THROW(nullChild.write(buf), std::invalid_argument);
    EXPECT_EQ(buf.size(), 0u);
}

TEST(DBQuery, CopiesShareTheTermAndHitsAndClearDropsHitsOnly) {
    DBQuery query = NorvTest::samples<DBQuery>()[1];
    const DBQuery copy = query;
    EXPECT_EQ(copy.getTerm(), query.getTerm());
    EXPECT_EQ(copy.getHits(), query.getHits());
    query.add(copy.begin(), copy.end());
    EXPECT_EQ(query.getHits()[2], copy.getHits()[0]);
    query.clear();
    EXPECT_EQ(query.size() + query.getHitCount(), 0);
    EXPECT_EQ(query.getTerm(), copy.getTerm());
    EXPECT_EQ(query.getDatabase(), 7);
    EXPECT_EQ(copy.size(), 2u);
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
    DBQuery query;
    query.add(nullptr);
    query.dump(os, 0);
    EXPECT_EQ(os.str(), "DBQuery {\n  database: -1\n  hitCount: 0\n  dbSource: \n  dbName: \n  wildcard: true\n}\n");
}
