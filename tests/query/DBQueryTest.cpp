#include <norvext/query/DBQuery.h>

#include "tests/query/Terms.h"
#include "tests/support/Samples.h"

#include <boost/weak_ptr.hpp>
#include <gtest/gtest.h>

#include <locale>
#include <sstream>

using Norv::AlignedBuf;
using Norv::DBBooleanTerm;
using Norv::DBQuery;
using Norv::DBTerm;
using NorvTest::leaf;
using IDs = DBQuery::DBIDSet;

namespace {

// What read() takes before the term: the sample query without term and hits.
AlignedBuf queryHead() {
    std::vector<unsigned char> bytes = NorvTest::bytesOf(NorvTest::samples<DBQuery>()[0]);
    bytes.resize(bytes.size() - 16);  // an empty AND (three words), no hits (one)
    return AlignedBuf(bytes);
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

// The factory's errors and depth limit are DBTermTest's.
TEST(DBQuery, UnknownTermCodeKeepsTheOldTerm) {
    AlignedBuf unknown = queryHead();
    unknown.put(5u);
    const auto oldTerm = leaf(1);
    DBQuery query(1, oldTerm);
    EXPECT_EQ(NorvTest::errorOf([&] { query.read(unknown); }), "TermFactory::create: Invalid term type: 5");
    EXPECT_EQ(query.getTerm(), oldTerm);
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

// A null hit is left out of the dump, and so is a null term; a query without
// a term, with a null hit or with a null child writes nothing.
TEST(DBQuery, WhatCannotTravelWritesNothing) {
    AlignedBuf buf;
    DBQuery(3).write(buf);  // no term
    DBQuery nullHit(3, leaf(1));
    nullHit.add(nullptr);
    EXPECT_EQ(NorvTest::dumpOf(nullHit), NorvTest::dumpOf(DBQuery(3, leaf(1))));
    EXPECT_EQ(NorvTest::dumpOf(DBQuery(3)).find("Term"), std::string::npos);
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
