#include <norvext/catalogue/DBField.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Words.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(DBField, AllOnesIdTravelsAndPrintsAsMinusOne) {
    Norv::DBField f(7, "Title", "entry title", "TI");
    f.setID(4294967295u);
    EXPECT_EQ(f.getID(), -1);
    Norv::AlignedBuf out;
    f.write(out);
    const auto w = NorvTest::words(out);
    EXPECT_EQ(w[0], 0xffffffffu);
    EXPECT_EQ(w[1], 5u);  // then the name, description and tag lengths
    EXPECT_EQ(w[4], 11u);
    EXPECT_EQ(w[8], 2u);

    Norv::AlignedBuf in(out.bytes());
    std::ostringstream os;
    Norv::DBField(in).dump(os, 0);
    EXPECT_EQ(os.str(), "DBField {\n  id: -1\n  name: Title\n  description: entry title\n  tag: TI\n}\n");
}
