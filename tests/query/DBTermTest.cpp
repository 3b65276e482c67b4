#include <norvext/query/DBTerm.h>

#include "tests/query/Terms.h"

#include <gtest/gtest.h>

using Norv::AlignedBuf;
using Norv::DBTerm;

TEST(DBTerm, ComparisonNamesAndValues) {
    const char* const names[] = {"EQ", "NEQ", "LT", "GT", "LE", "GE", "LIKE"};
    for (int value = 0; value <= 6; ++value) {
        EXPECT_STREQ(DBTerm::compName(static_cast<DBTerm::Compare>(value)), names[value]);
        EXPECT_EQ(DBTerm::compValue(names[value]), value) << names[value];
    }
    // Two bytes decide, and no text is rejected.
    const std::pair<const char*, DBTerm::Compare> texts[] = {
        {"LI", DBTerm::LIKE}, {"NOT", DBTerm::NEQ}, {"LTE", DBTerm::LT}, {"", DBTerm::EQ},
        {"N", DBTerm::EQ},    {"like", DBTerm::EQ}, {"GX", DBTerm::EQ},  {"EQUALS", DBTerm::EQ}};
    for (const auto& t : texts) {
        EXPECT_EQ(DBTerm::compValue(t.first), t.second) << t.first;
    }
}

// The term factory's type codes and the boolean term's operators alike.
TEST(DBTerm, UnknownCodesAreNamedInSignedDecimalAndChangeNothing) {
    const std::pair<unsigned int, const char*> cases[] = {
        {0u, "0"}, {4u, "4"}, {0xffffffffu, "-1"}, {0x80000000u, "-2147483648"}};
    for (const auto& c : cases) {
        AlignedBuf code, op;
        code.put(c.first);
        op.put(c.first);
        op.put(0u);
        EXPECT_EQ(NorvTest::errorOf([&] { DBTerm::create(code); }),
                  std::string("TermFactory::create: Invalid term type: ") + c.second);
        Norv::DBBooleanTerm term(NorvTest::leaf(1), Norv::DBBooleanTerm::OR);
        EXPECT_EQ(NorvTest::errorOf([&] { term.read(op); }), std::string("DBBooleanTerm::read: Invalid opcode: ") + c.second);
        EXPECT_EQ(term.getOp(), Norv::DBBooleanTerm::OR);
        EXPECT_EQ(term.getTerms().size(), 1u);
    }
}

TEST(DBTerm, FactoryRebuildsTreesUpToTheDepthLimit) {
    AlignedBuf atLimit, deeper;
    NorvTest::putNestedBooleans(atLimit, DBTerm::s_maxDepth);
    NorvTest::putNestedBooleans(deeper, DBTerm::s_maxDepth + 1);
    EXPECT_EQ(NorvTest::depthOf(DBTerm::create(atLimit)), DBTerm::s_maxDepth);
    EXPECT_EQ(NorvTest::errorOf([&] { DBTerm::create(deeper); }),
              "TermFactory::create: Term nesting deeper than 256 levels");
    atLimit.rewind();  // the failure released every level that it had counted
    EXPECT_EQ(NorvTest::depthOf(DBTerm::create(atLimit)), DBTerm::s_maxDepth);
}

TEST(DBStringTerm, UnknownComparisonsAreDropped) {
    AlignedBuf buf;
    for (unsigned int word : {5u, 0u, 0u, 7u, 8u, 0u, 0u, 0xffffffffu}) {
        buf.put(word);
    }
    Norv::DBStringTerm term(1, "", DBTerm::GE);
    term.read(buf);
    EXPECT_EQ(term.getField(), 5);
    EXPECT_EQ(term.getCompare(), DBTerm::GE);
    term.read(buf);
    EXPECT_EQ(term.getField(), 8);
    EXPECT_EQ(term.getCompare(), DBTerm::GE);
}
