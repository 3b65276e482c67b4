#include <norvext/query/Summary.h>
#include <norvext/query/internal/SummaryText.h>

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <sstream>

using Norv::Summary;
using NorvTest::dumpOf;

TEST(Summary, ConstructorsTakeNullTextsAsEmpty) {
    EXPECT_EQ(dumpOf(Summary(static_cast<const char*>(nullptr), 0, nullptr, nullptr, nullptr)), dumpOf(Summary()));
    Summary expected("swissprot", 1, "t", "", "x");
    expected.setDatabase(7);
    expected.setDBName("");
    EXPECT_EQ(dumpOf(Summary(7, 1, "t", nullptr, "x")), dumpOf(expected));
    EXPECT_EQ(Summary("swissprot", 1, nullptr, nullptr, nullptr).getDatabase(), -1);
}

TEST(SummaryText, SevenLinesThatRoundTrip) {
    Summary s;
    s.setID(5);
    s.setTitle("ab");
    std::ostringstream os;
    Norv::internal::operator<<(os, s);
    EXPECT_EQ(os.str(), "-1 5 0 0 0\n0:\n0:\n0:\n2:ab\n0:\n0:\n");

    const Summary awkward = NorvTest::samples<Summary>()[2];
    std::stringstream text;
    Norv::internal::operator<<(text, awkward);
    Summary read;
    Norv::internal::operator>>(text, read);
    EXPECT_FALSE(text.fail());
    EXPECT_EQ(dumpOf(read), dumpOf(awkward));
    std::istringstream broken("1 2 3\nrest");
    Norv::internal::operator>>(broken, read);
    EXPECT_TRUE(broken.fail());
}
