#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBRangeTerm.h>

#include "tests/query/Terms.h"
#include "tests/support/Hostile.h"

#include <gtest/gtest.h>

#include <sstream>

using Norv::AlignedBuf;
using Norv::DBBooleanTerm;
using NorvTest::leaf;

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
    buf.put(NorvTest::kHostileCount);
    leaf(6)->write(buf);  // the only child there is
    DBBooleanTerm term(leaf(1), DBBooleanTerm::AND);
    EXPECT_TRUE(NorvTest::failsOnHostileCount<DBBooleanTerm::Terms::value_type>([&] { term.read(buf); }, false));
    EXPECT_EQ(term.getOp(), DBBooleanTerm::OR);
    ASSERT_EQ(term.getTerms().size(), 2u);
    EXPECT_EQ(NorvTest::leafField(term, 0), 1);
    EXPECT_EQ(NorvTest::leafField(term, 1), 6);
}

TEST(DBBooleanTerm, NullChildIsSkippedInDumpAndRefusedByWrite) {
    DBBooleanTerm term(nullptr, DBBooleanTerm::OR, boost::make_shared<Norv::DBRangeTerm>(2, "a", "b"));
    std::ostringstream os;
    term.dump(os, 0);
    EXPECT_EQ(os.str(),
              "DBBooleanTerm {\n  op: OR\n"
              "  DBRangeTerm {\n    field: 2\n    fieldName: \n    begin: a\n    end: b\n  }\n}\n");
    // Found deep in the tree, the null child leaves the buffer as it was.
    AlignedBuf buf;
    leaf(1)->write(buf);
    const std::size_t written = buf.size();
    const DBBooleanTerm outer(leaf(1), DBBooleanTerm::AND, boost::make_shared<DBBooleanTerm>(term));
    EXPECT_THROW(outer.write(buf), std::invalid_argument);
    EXPECT_EQ(buf.size(), written);
}
