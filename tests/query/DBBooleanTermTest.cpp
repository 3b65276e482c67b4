#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBRangeTerm.h>

#include "tests/query/TermBuffers.h"
#include "tests/support/Allocations.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

using Norv::AlignedBuf;
using Norv::DBBooleanTerm;
using Norv::DBStringTerm;
using Norv::DBTerm;
using NorvTest::leaf;

namespace {
// The field of the string term that is child `i` of `term`, -100 for another class.
int leafField(const DBBooleanTerm& term, std::size_t i) {
    const auto* typed = dynamic_cast<const DBStringTerm*>(term.getTerms().at(i).get());
    return typed != nullptr ? typed->getField() : -100;
}
}  // namespace

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

TEST(DBBooleanTerm, TreeTravelsInPrefixOrder) {
    const auto inner = boost::make_shared<DBBooleanTerm>(boost::make_shared<Norv::DBRangeTerm>(8, "", ""),
                                                         DBBooleanTerm::OR, leaf(9, DBTerm::LIKE));
    const DBBooleanTerm tree(leaf(7), DBBooleanTerm::AND, inner);
    const std::vector<std::uint32_t> expected = {3, 1, 2, 1, 7, 0, 0, 0, 3, 2, 2, 2, 8, 0, 0, 0, 1, 9, 0, 0, 6};
    EXPECT_EQ(NorvTest::wordsOf(tree), expected);
    AlignedBuf buf;
    tree.write(buf);
    DBBooleanTerm(DBBooleanTerm::NOT).write(buf);
    EXPECT_EQ(NorvTest::wordsOf(*DBTerm::create(buf)), expected);
    EXPECT_EQ(NorvTest::wordsOf(*DBTerm::create(buf)), (std::vector<std::uint32_t>{3, 3, 0}));
}

TEST(DBBooleanTerm, InvalidOpcodeIsReportedAndChangesNothing) {
    const std::pair<unsigned int, const char*> cases[] = {{0u, "0"}, {4u, "4"}, {0xffffffffu, "-1"}};
    for (const auto& c : cases) {
        AlignedBuf buf;
        buf.put(c.first);
        buf.put(0u);
        DBBooleanTerm term(leaf(1), DBBooleanTerm::OR);
        EXPECT_EQ(NorvTest::errorOf([&] { term.read(buf); }),
                  std::string("DBBooleanTerm::read: Invalid opcode: ") + c.second);
        EXPECT_EQ(term.getOp(), DBBooleanTerm::OR);
        EXPECT_EQ(term.getTerms().size(), 1u);
    }
    AlignedBuf cut(std::vector<unsigned char>{2, 0});  // half an operator code
    DBBooleanTerm term(leaf(1), DBBooleanTerm::NOT);
    EXPECT_THROW(term.read(cut), std::out_of_range);
    EXPECT_EQ(term.getOp(), DBBooleanTerm::NOT);
    EXPECT_EQ(term.getTerms().size(), 1u);
}

TEST(DBBooleanTerm, HostileChildCountFailsAtTheDataEndAndKeepsTheChildRead) {
    AlignedBuf buf;
    buf.put(2u);  // OR
    buf.put(NorvTest::kHostileCount);  // on any size_t: only the data's end stops the read
    leaf(6)->write(buf);  // the only child there is
    DBBooleanTerm term(leaf(1), DBBooleanTerm::AND);
    EXPECT_TRUE(NorvTest::failsCheaply([&] { term.read(buf); }));
    EXPECT_EQ(term.getOp(), DBBooleanTerm::OR);
    ASSERT_EQ(term.getTerms().size(), 2u);
    EXPECT_EQ(leafField(term, 1), 6);
}

TEST(DBBooleanTerm, ReadAppendsAndKeepsChildrenReadBeforeAFailure) {
    DBBooleanTerm three(leaf(1), DBBooleanTerm::NOT, leaf(2));
    three.addTerm(leaf(3));
    AlignedBuf buf;
    three.write(buf);
    buf.put(3u);  // an OR of two children, the second of unknown type
    buf.put(2u);
    buf.put(2u);
    leaf(6)->write(buf);
    buf.put(9u);

    unsigned int code = 0;
    buf.get(code);  // the factory's part
    DBBooleanTerm term(leaf(4), DBBooleanTerm::AND, leaf(5));
    term.read(buf);
    EXPECT_EQ(term.getOp(), DBBooleanTerm::NOT);
    ASSERT_EQ(term.getTerms().size(), 5u);
    EXPECT_EQ(leafField(term, 1), 5);
    EXPECT_EQ(leafField(term, 4), 3);
    buf.get(code);
    DBBooleanTerm partial;
    EXPECT_EQ(NorvTest::errorOf([&] { partial.read(buf); }), "TermFactory::create: Invalid term type: 9");
    ASSERT_EQ(partial.getTerms().size(), 1u);
    EXPECT_EQ(leafField(partial, 0), 6);
}

TEST(DBBooleanTerm, NullChildIsSkippedInDumpAndRefusedByWrite) {
    DBBooleanTerm term(nullptr, DBBooleanTerm::OR, boost::make_shared<Norv::DBRangeTerm>(2, "a", "b"));
    std::ostringstream os;
    term.dump(os, 0);
    EXPECT_EQ(os.str(),
              "DBBooleanTerm {\n  op: OR\n"
              "  DBRangeTerm {\n    field: 2\n    fieldName: \n    begin: a\n    end: b\n  }\n}\n");

    // Found deep in the tree, the null child still leaves the buffer untouched,
    // also after an earlier write succeeded.
    AlignedBuf buf;
    DBBooleanTerm(leaf(1), DBBooleanTerm::AND).write(buf);
    const std::size_t written = buf.size();
    const DBBooleanTerm outer(leaf(1), DBBooleanTerm::AND, boost::make_shared<DBBooleanTerm>(term));
    EXPECT_THROW(outer.write(buf), std::invalid_argument);
    EXPECT_EQ(buf.size(), written);
}
