#include <norvext/catalogue/DBDatabase.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Allocations.h"

#include <gtest/gtest.h>

#include <stdexcept>

using Norv::AlignedBuf;
using Norv::DBDatabase;
using Norv::DBField;

namespace {

DBDatabase embl() {
    DBDatabase db(4, "EMBL", "nucleotides", "EM");
    db.add(DBField(1, "ID", "entry id", "id"));
    db.add(DBField(2, "DE", "description", "de"));
    db.add(DBField(1, "AC", "accession", "id"));
    return db;
}

}  // namespace

TEST(DBDatabase, FieldsAreReplacedOnlyByACompleteRead) {
    AlignedBuf out;
    embl().write(out);
    std::vector<unsigned char> truncated = out.bytes();
    truncated.resize(truncated.size() - 4);  // the last field's tag bytes
    AlignedBuf broken(truncated);

    DBDatabase db(9, "old", "old", "old");
    db.add(DBField(7, "kept", "", ""));
    EXPECT_THROW(db.read(broken), std::out_of_range);
    EXPECT_EQ(db.getID(), 4);
    EXPECT_EQ(db.getTag(), "EM");
    ASSERT_EQ(db.size(), 1u);
    EXPECT_EQ(db[0].getName(), "kept");

    AlignedBuf in(out.bytes());
    db.read(in);
    ASSERT_EQ(db.size(), 3u);
    EXPECT_EQ(db[0].getName(), "ID");
    EXPECT_EQ(db[2].getDescription(), "accession");
}

TEST(DBDatabase, AnnouncedCountDoesNotOutrunTheData) {
    AlignedBuf out;
    DBDatabase(1, "n", "d", "t").write(out);
    std::vector<unsigned char> bytes = out.bytes();
    bytes.resize(bytes.size() - 4);
    AlignedBuf announced(bytes);
    announced.put(NorvTest::kHostileCount);  // a count with one field behind it
    DBField(5, "", "", "").write(announced);
    DBDatabase db;
    db.add(DBField());
    EXPECT_TRUE(NorvTest::countFailsCheaply<DBField>([&] { db.read(announced); }));  // not bad_alloc
    EXPECT_EQ(db.getID(), 1);
    ASSERT_EQ(db.size(), 1u);
    EXPECT_EQ(db[0].getID(), -1);
}

TEST(DBDatabase, SearchesReturnTheFirstExactMatch) {
    const DBDatabase db = embl();
    EXPECT_EQ(db.findID(1), db.begin());
    EXPECT_EQ(db.findTag("id"), db.begin());
    EXPECT_EQ(db.findName("AC"), db.begin() + 2);
    EXPECT_EQ(db.findName("ac"), db.end());
    EXPECT_EQ(db.findTag("ID"), db.end());
    const DBDatabase none;
    EXPECT_EQ(none.findID(-1), none.end());
}
