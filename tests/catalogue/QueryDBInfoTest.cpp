#include <norvext/catalogue/QueryDBInfo.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Hostile.h"
#include "tests/support/Samples.h"

#include <gtest/gtest.h>

using Norv::DBDatabase;
using Norv::QueryDBInfo;

TEST(QueryDBInfo, LastPointsAtTheStoredCopy) {
    QueryDBInfo cat;
    EXPECT_EQ(cat.last(), nullptr);
    const DBDatabase db(3, "pdb", "", "PD");
    cat.add(db);
    cat.add(db);
    ASSERT_NE(cat.last(), nullptr);
    cat.last()->setTag("changed");
    EXPECT_EQ(cat[1].getTag(), "changed");
    EXPECT_EQ(cat[0].getTag(), "PD");
    EXPECT_EQ(db.getTag(), "PD");
}

TEST(QueryDBInfo, SearchesReturnTheFirstMatchOfNamesAndTagsOnly) {
    QueryDBInfo cat = NorvTest::samples<QueryDBInfo>()[1];  // EMBL (4, EM), SWISSPROT (1, SW)
    cat.add(DBDatabase(4, "EM", "", "SWISSPROT"));
    cat.add(DBDatabase(1, "EMBL", "", "EM"));
    EXPECT_EQ(cat.findInfo(4), cat.begin());
    EXPECT_EQ(cat.findInfo(1), cat.begin() + 1);
    EXPECT_EQ(cat.findInfo("EMBL"), cat.begin());
    EXPECT_EQ(cat.findInfo("EM"), cat.begin() + 2);
    EXPECT_EQ(cat.findTag("EM"), cat.begin());
    EXPECT_EQ(cat.findTag("SWISSPROT"), cat.begin() + 2);
    EXPECT_EQ(cat.findInfo("embl"), cat.end());
    EXPECT_EQ(cat.findInfo(-1), cat.end());
}

TEST(QueryDBInfo, HostileCountsKeepTheOldDatabases) {
    // A catalogue that announces kHostileCount databases and holds none, and
    // one whose only database announces kHostileCount fields.
    Norv::AlignedBuf many, deep;
    QueryDBInfo("hostile", 6).write(many);
    QueryDBInfo deepOne("deep", 7);
    deepOne.add(DBDatabase());
    deepOne.write(deep);
    std::vector<unsigned char> bytes = many.bytes(), deepBytes = deep.bytes();
    bytes.resize(bytes.size() - 4);
    deepBytes.resize(deepBytes.size() - 4);
    Norv::AlignedBuf manyIn(bytes), deepIn(deepBytes);
    manyIn.put(NorvTest::kHostileCount);
    deepIn.put(NorvTest::kHostileCount);

    QueryDBInfo cat = NorvTest::samples<QueryDBInfo>()[1];
    EXPECT_TRUE(NorvTest::failsOnHostileCount<DBDatabase>([&] { cat.read(manyIn); }, true));
    EXPECT_EQ(cat.getName() + std::to_string(cat.getLimit()), "hostile6");
    EXPECT_TRUE(NorvTest::failsOnHostileCount<Norv::DBField>([&] { cat.read(deepIn); }, true));
    EXPECT_EQ(cat.getName() + std::to_string(cat.getLimit()), "deep7");
    ASSERT_EQ(cat.size(), 2u);
    EXPECT_EQ(cat[1].getName(), "SWISSPROT");
    EXPECT_EQ(cat[0][1].getTag(), "key");
}
