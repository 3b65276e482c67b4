#include <norvext/query/DBTerm.h>

#include "tests/query/TermBuffers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

using Norv::AlignedBuf;
using Norv::DBTerm;

namespace {
// A term that keeps DBTerm's own dump.
struct BareTerm : DBTerm {
    void accept(Common::VisitorBase&) override {}
    void write(AlignedBuf&) const override {}
    void read(AlignedBuf&) override {}
};
}  // namespace

TEST(DBTerm, ComparisonNamesAndValues) {
    const char* const names[] = {"EQ", "NEQ", "LT", "GT", "LE", "GE", "LIKE"};
    for (int value = 0; value <= 6; ++value) {
        EXPECT_STREQ(DBTerm::compName(static_cast<DBTerm::Compare>(value)), names[value]);
        EXPECT_EQ(DBTerm::compValue(names[value]), value) << names[value];
    }
    // Two bytes decide, and no text is rejected.
    EXPECT_EQ(DBTerm::compValue("LI"), DBTerm::LIKE);
    EXPECT_EQ(DBTerm::compValue("NOT"), DBTerm::NEQ);
    EXPECT_EQ(DBTerm::compValue("LTE"), DBTerm::LT);
    for (const char* other : {"", "N", "like", "GX", "LX", "EQUALS"}) {
        EXPECT_EQ(DBTerm::compValue(other), DBTerm::EQ) << other;
    }
    std::ostringstream os;
    BareTerm().dump(os, 2);
    EXPECT_EQ(os.str(), "");
}

TEST(DBTerm, FactoryNamesAnUnknownCodeInSignedDecimal) {
    const std::pair<unsigned int, const char*> cases[] = {
        {0u, "0"}, {4u, "4"}, {0xffffffffu, "-1"}, {0x80000000u, "-2147483648"}};
    for (const auto& c : cases) {
        AlignedBuf buf;
        buf.put(c.first);
        EXPECT_EQ(NorvTest::errorOf([&] { DBTerm::create(buf); }),
                  std::string("TermFactory::create: Invalid term type: ") + c.second);
    }
}

TEST(DBTerm, FactoryRebuildsTreesUpToTheDepthLimit) {
    AlignedBuf atLimit, deeper;
    NorvTest::putNestedBooleans(atLimit, DBTerm::s_maxDepth);
    NorvTest::putNestedBooleans(deeper, DBTerm::s_maxDepth + 1);
    EXPECT_EQ(NorvTest::depthOf(DBTerm::create(atLimit)), DBTerm::s_maxDepth);
    EXPECT_EQ(NorvTest::errorOf([&] { DBTerm::create(deeper); }),
              "TermFactory::create: Term nesting deeper than 256 levels");
    // The failure released every level that it had counted.
    atLimit.rewind();
    EXPECT_EQ(NorvTest::depthOf(DBTerm::create(atLimit)), DBTerm::s_maxDepth);
}
