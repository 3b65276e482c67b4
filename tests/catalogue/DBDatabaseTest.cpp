#include <norvext/catalogue/DBDatabase.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Hostile.h"
#include "tests/support/Samples.h"

#include <gtest/gtest.h>

using Norv::DBDatabase;
using Norv::DBField;

TEST(DBDatabase, SearchesReturnTheFirstExactMatch) {
    DBDatabase db = NorvTest::samples<DBDatabase>()[1];  // AC (1, "acc"), KW (4, "key")
    db.add(DBField(1, "KW", "again", "acc"));
    EXPECT_EQ(db.findID(1), db.begin());
    EXPECT_EQ(db.findTag("acc"), db.begin());
    EXPECT_EQ(db.findName("KW"), db.begin() + 1);
    EXPECT_EQ(db.findName("kw"), db.end());
    EXPECT_EQ(db.findTag("AC"), db.end());  // a name is no tag
    EXPECT_EQ(DBDatabase().findID(-1), DBDatabase().end());
}

TEST(DBDatabase, HostileFieldCountKeepsTheOldFields) {
    Norv::AlignedBuf out;
    DBDatabase(1, "n", "d", "t").write(out);
    std::vector<unsigned char> bytes = out.bytes();
    bytes.resize(bytes.size() - 4);  // the field count 0
    Norv::AlignedBuf in(bytes);
    in.put(NorvTest::kHostileCount);
    DBField(5, "", "", "").write(in);  // one field behind it
    DBDatabase db = NorvTest::samples<DBDatabase>()[1];
    EXPECT_TRUE(NorvTest::failsOnHostileCount<DBField>([&] { db.read(in); }, true));
    EXPECT_EQ(db.getID(), 1);
    ASSERT_EQ(db.size(), 2u);
    EXPECT_EQ(db[1].getName(), "KW");
}
