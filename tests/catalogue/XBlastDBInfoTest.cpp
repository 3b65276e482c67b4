#include <norvext/catalogue/XBlastDBInfo.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Words.h"

#include <gtest/gtest.h>

// The dump stands in examples/golden/catalogue.txt.
TEST(XBlastDBInfo, WritesInfoThenLengthCountFlag) {
    Norv::AlignedBuf out;
    Norv::XBlastDBInfo("nr", "", 4294967295u, 7, true).write(out);
    Norv::XBlastDBInfo().write(out);
    EXPECT_EQ(NorvTest::words(out),
              (std::vector<std::uint32_t>{2, 'n' | 'r' << 8, 0, 4294967295u, 7, 1, 0, 0, 0, 0, 0}));

    Norv::AlignedBuf in(out.bytes());
    Norv::XBlastDBInfo read("x", "y", 1, 1, false);
    read.read(in);
    EXPECT_EQ(read.getName(), "nr");
    EXPECT_EQ(read.getLength(), 4294967295u);
    EXPECT_EQ(read.getSequenceCount(), 7u);
    EXPECT_TRUE(read.isProtein());
    EXPECT_FALSE(Norv::XBlastDBInfo(in).isProtein());
}
