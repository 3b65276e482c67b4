// The query terms: comparison and operator names, the factory's type codes
// and depth limit, what a read of unknown values or a hostile child count
// leaves, and null children.
#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBRangeTerm.h>

#include <norvutil/AlignedBuf.h>

#include "tests/query/Terms.h"
#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <sstream>

using Norv::AlignedBuf;
using Norv::DBBooleanTerm;
using Norv::DBTerm;
using NorvTest::leaf;

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
        DBBooleanTerm term(leaf(1), DBBooleanTerm::OR);
        EXPECT_EQ(NorvTest::errorOf([&] { term.read(op); }), std::string("DBBooleanTerm::read: Invalid opcode: ") + c.second);
        EXPECT_EQ(term.getOp(), DBBooleanTerm::OR);
        EXPECT_EQ(term.getTerms().size(), 1u);
    }
}

TEST(DBTerm, FactoryRebuildsTreesUpToTheDepthLimit) {
    const auto nested = [](int depth) {  // AND terms, each the only child of the one above it
        AlignedBuf buf;
        for (int level = 1; level <= depth; ++level) {
            for (unsigned int word : {3u, 1u, level < depth ? 1u : 0u}) {
                buf.put(word);
            }
        }
        return buf;
    };
    AlignedBuf atLimit = nested(DBTerm::s_maxDepth), deeper = nested(DBTerm::s_maxDepth + 1);
    EXPECT_EQ(NorvTest::bytesOf(*DBTerm::create(atLimit)), atLimit.bytes());
    EXPECT_EQ(NorvTest::errorOf([&] { DBTerm::create(deeper); }),
              "TermFactory::create: Term nesting deeper than 256 levels");
    atLimit.rewind();  // the failure released every level that it had counted
    EXPECT_EQ(NorvTest::bytesOf(*DBTerm::create(atLimit)), atLimit.bytes());
}

TEST(DBStringTerm, UnknownComparisonsAreDropped) {
    AlignedBuf buf;
    for (unsigned int word : {5u, 0u, 0u, 7u, 8u, 0u, 0u, 0xffffffffu}) {
        buf.put(word);
    }
    Norv::DBStringTerm term(1, "", DBTerm::GE);
    for (int field : {5, 8}) {  // comparisons 7 and -1
        term.read(buf);
        EXPECT_EQ(term.getField(), field);
        EXPECT_EQ(term.getCompare(), DBTerm::GE);
    }
}

TEST(DBBooleanTerm, OperatorNamesAndTexts) {
    EXPECT_STREQ(DBBooleanTerm(DBBooleanTerm::NOT).getOpName(), "NOT");
    EXPECT_STREQ(DBBooleanTerm::opName(static_cast<DBBooleanTerm::Op>(0)), "");
    const std::pair<const char*, DBBooleanTerm::Op> texts[] = {
        {"OR", DBBooleanTerm::OR}, {"NOT", DBBooleanTerm::NOT}, {"AND", DBBooleanTerm::AND},
        {"or", DBBooleanTerm::AND}, {"", DBBooleanTerm::AND},   {"NOTE", DBBooleanTerm::AND}};
    for (const auto& t : texts) {
        EXPECT_EQ(DBBooleanTerm::name2Op(t.first), t.second) << t.first;
        EXPECT_EQ(DBBooleanTerm(std::string(t.first)).getOp(), t.second) << t.first;
        EXPECT_STREQ(DBBooleanTerm::opName(t.second), t.second == DBBooleanTerm::AND ? "AND" : t.first);
    }
}

TEST(DBBooleanTerm, HostileChildCountFailsAtTheDataEndAndKeepsTheChildRead) {
    AlignedBuf buf;
    buf.put(2u);  // OR
    buf.put(4294967295u);  // children announced
    leaf(6)->write(buf);  // the only child there is
    DBBooleanTerm term(leaf(1), DBBooleanTerm::AND);
    EXPECT_THROW(term.read(buf), std::out_of_range);  // one child at a time, to the end of the data
    EXPECT_EQ(term.getOp(), DBBooleanTerm::OR);
    ASSERT_EQ(term.getTerms().size(), 2u);
    EXPECT_EQ(NorvTest::leafField(term, 0), 1);
    EXPECT_EQ(NorvTest::leafField(term, 1), 6);
}

TEST(DBBooleanTerm, ChildCountsAcrossReserveStepsReadBackWhole) {
    // Room grows as children arrive: around each step every child must land
    // in order, and the vector must end no larger than the count.
    for (unsigned int count : {0u, 1u, 255u, 256u, 257u, 1000u}) {
        DBBooleanTerm written(DBBooleanTerm::OR);
        for (unsigned int i = 0; i < count; ++i) {
            written.addTerm(leaf(static_cast<int>(i)));
        }
        AlignedBuf buf;
        written.write(buf);
        const auto read = boost::dynamic_pointer_cast<DBBooleanTerm>(DBTerm::create(buf));
        ASSERT_TRUE(read);
        ASSERT_EQ(read->getTerms().size(), count);
        EXPECT_EQ(read->getTerms().capacity(), count);
        EXPECT_EQ(NorvTest::bytesOf(*read), buf.bytes()) << count;
    }
}

TEST(DBBooleanTerm, NullChildIsSkippedInDumpAndRefusedByWrite) {
    const auto range = boost::make_shared<Norv::DBRangeTerm>(2, "a", "b");
    DBBooleanTerm term(nullptr, DBBooleanTerm::OR, range);
    EXPECT_EQ(NorvTest::dumpOf(term), NorvTest::dumpOf(DBBooleanTerm(range, DBBooleanTerm::OR)));
    // Found deep in the tree, the null child leaves the buffer as it was.
    AlignedBuf buf;
    leaf(1)->write(buf);
    const std::size_t written = buf.size();
    const DBBooleanTerm outer(leaf(1), DBBooleanTerm::AND, boost::make_shared<DBBooleanTerm>(term));
    EXPECT_THROW(outer.write(buf), std::invalid_argument);
    EXPECT_EQ(buf.size(), written);
}
