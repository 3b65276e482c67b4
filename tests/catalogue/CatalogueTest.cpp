// DBDatabase and QueryDBInfo: which element a search finds, where last()
// points, and what a read that announces more fields than the buffer holds
// leaves (the golden files of tests/persist record every truncated buffer).
#include <norvext/catalogue/QueryDBInfo.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

using Norv::DBDatabase;
using Norv::DBField;
using Norv::QueryDBInfo;

TEST(DBDatabase, SearchesReturnTheFirstExactMatch) {
    DBDatabase db = NorvTest::samples<DBDatabase>()[1];  // AC (1, "acc"), KW (4, "key")
    db.add(DBField(1, "KW", "again", "acc"));
    EXPECT_EQ(db.findID(1), db.begin());
    EXPECT_EQ(db.findTag("acc"), db.begin());
    EXPECT_EQ(db.findName("KW"), db.begin() + 1);
    EXPECT_EQ(db.findName("kw"), db.end());
    EXPECT_EQ(db.findTag("AC"), db.end());  // a name is no tag
    EXPECT_EQ(DBDatabase().findID(-1), DBDatabase().end());
    db.add(DBField());
    EXPECT_EQ(db.findID(-1), db.begin() + 3);  // the default field's id
}

TEST(DBDatabase, HostileFieldCountKeepsTheOldFields) {
    std::vector<unsigned char> bytes = NorvTest::bytesOf(DBDatabase(1, "n", "d", "t"));
    bytes.resize(bytes.size() - 4);  // the field count 0
    Norv::AlignedBuf in(bytes);
    in.put(4294967295u);  // fields announced
    DBField(5, "", "", "").write(in);  // one field behind it
    DBDatabase db = NorvTest::samples<DBDatabase>()[1];
    if (4294967295u > std::vector<DBField>().max_size()) {  // 32-bit size_t: said before reading any field
        EXPECT_EQ(NorvTest::errorOf<std::length_error>([&] { db.read(in); }), "vector<T> too long");
    } else {  // elsewhere the read stops at the end of the data
        EXPECT_THROW(db.read(in), std::out_of_range);
    }
    EXPECT_EQ(db.getID(), 1);
    ASSERT_EQ(db.size(), 2u);
    EXPECT_EQ(db[1].getName(), "KW");
}

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
