#include <norvext/query/Summary.h>
#include <norvext/query/internal/SummaryText.h>

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <sstream>

using Norv::Summary;

namespace {
std::string dumpOf(const Summary& s) {
    std::ostringstream os;
    s.dump(os, 0);
    return os.str();
}
}  // namespace

TEST(Summary, ConstructorsTakeNullTextsAsEmpty) {
    Summary byID(7, 42, nullptr, "cap", nullptr);
    Summary expected;
    expected.setDatabase(7);
    expected.setID(42);
    expected.setCaption("cap");
    EXPECT_EQ(dumpOf(byID), dumpOf(expected));
    Summary byName("swissprot", 1, "t", nullptr, "x");
    expected = Summary();
    expected.setDBName("swissprot");
    expected.setID(1);
    expected.setTitle("t");
    expected.setExtra("x");
    EXPECT_EQ(dumpOf(byName), dumpOf(expected));
    EXPECT_EQ(dumpOf(Summary(static_cast<const char*>(nullptr), 0, nullptr, nullptr, nullptr)), dumpOf(Summary()));
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
