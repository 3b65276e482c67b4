#include <norvext/catalogue/QueryDBInfo.h>

#include <norvext/common/internal/Persist.h>
#include <norvutil/AlignedBuf.h>

#include "tests/support/Allocations.h"

#include <gtest/gtest.h>

#include <stdexcept>

using Norv::AlignedBuf;
using Norv::DBDatabase;
using Norv::DBField;
using Norv::QueryDBInfo;

namespace {

DBDatabase database(int id, const std::string& name, const std::string& tag) {
    DBDatabase db(id, name, name + " texts", tag);
    for (int i = 0; i < 3; ++i) {
        const std::string n = name + std::to_string(i);
        db.add(DBField(id * 10 + i, n, n + " description", n + " tag"));
    }
    return db;
}

QueryDBInfo catalogue() {
    QueryDBInfo cat("text databases", 250);
    cat.add(database(1, "swissprot", "SW"));
    cat.add(database(2, "embl", "EM"));
    return cat;
}

}  // namespace

// The dump layout of a whole catalogue stands in examples/golden/catalogue.txt.

TEST(QueryDBInfo, DatabasesAreReplacedOnlyByACompleteRead) {
    AlignedBuf out;
    catalogue().write(out);
    std::vector<unsigned char> truncated = out.bytes();
    truncated.resize(truncated.size() - 4);  // deep inside the last field
    AlignedBuf broken(truncated);

    QueryDBInfo cat("old", 1);
    cat.add(database(9, "kept", "KP"));
    EXPECT_THROW(cat.read(broken), std::out_of_range);
    EXPECT_EQ(cat.getName(), "text databases");
    EXPECT_EQ(cat.getLimit(), 250u);
    ASSERT_EQ(cat.size(), 1u);
    EXPECT_EQ(cat[0].getName(), "kept");

    AlignedBuf in(out.bytes());
    cat.read(in);
    ASSERT_EQ(cat.size(), 2u);
    EXPECT_EQ(cat[1].getName(), "embl");
    EXPECT_EQ(cat[1][2].getTag(), "embl2 tag");
}

TEST(QueryDBInfo, HostileCountsCostNothingAndKeepTheOldDatabases) {
    using Norv::internal::putString;
    // The catalogue announces 4294967295 databases and holds none.
    AlignedBuf many;
    putString(many, "hostile");
    putString(many, "");
    many.put(6u);
    many.put(NorvTest::kHostileCount);
    // The catalogue's one database announces 4294967295 fields and holds none.
    AlignedBuf deep;
    putString(deep, "deep");
    putString(deep, "");
    deep.put(7u);
    deep.put(1u);
    DBDatabase(1, "", "", "").write(deep);
    std::vector<unsigned char> bytes = deep.bytes();
    bytes.resize(bytes.size() - 4);  // the field count 0
    AlignedBuf deeper(bytes);
    deeper.put(NorvTest::kHostileCount);

    QueryDBInfo cat = catalogue();
    EXPECT_TRUE(NorvTest::countFailsCheaply<DBDatabase>([&] { cat.read(many); }));
    EXPECT_EQ(cat.getName(), "hostile");
    EXPECT_EQ(cat.getLimit(), 6u);
    EXPECT_TRUE(NorvTest::countFailsCheaply<DBField>([&] { cat.read(deeper); }));
    EXPECT_EQ(cat.getName(), "deep");
    EXPECT_EQ(cat.getLimit(), 7u);
    ASSERT_EQ(cat.size(), 2u);
    EXPECT_EQ(cat[1].getName(), "embl");
    EXPECT_EQ(cat[1][2].getTag(), "embl2 tag");
}

TEST(QueryDBInfo, LastPointsAtTheStoredCopy) {
    QueryDBInfo cat;
    EXPECT_EQ(cat.last(), nullptr);
    const DBDatabase db = database(3, "pdb", "PD");
    cat.add(db);
    ASSERT_NE(cat.last(), nullptr);
    cat.last()->setTag("changed");
    EXPECT_EQ(cat[0].getTag(), "changed");
    EXPECT_EQ(db.getTag(), "PD");
}

TEST(QueryDBInfo, SearchesLookAtDatabaseNamesAndTagsOnly) {
    QueryDBInfo cat = catalogue();
    cat.add(database(1, "EM", "swissprot"));
    EXPECT_EQ(cat.findInfo(1), cat.begin());
    EXPECT_EQ(cat.findInfo("EM"), cat.begin() + 2);
    EXPECT_EQ(cat.findTag("EM"), cat.begin() + 1);
    EXPECT_EQ(cat.findInfo("SWISSPROT"), cat.end());
    EXPECT_EQ(cat.findInfo(10), cat.end());  // a field's id
}
