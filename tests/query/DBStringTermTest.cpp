#include <norvext/query/DBStringTerm.h>

#include "tests/query/TermBuffers.h"

#include <gtest/gtest.h>

#include <sstream>

using Norv::AlignedBuf;
using Norv::DBStringTerm;
using Norv::DBTerm;

TEST(DBStringTerm, WritesCodeThenFieldsAndRoundTrips) {
    // code, field, fieldName (length 0), query (length 2, one padded word), compare
    EXPECT_EQ(NorvTest::wordsOf(DBStringTerm(-1, "ab", DBTerm::LE)),
              (std::vector<std::uint32_t>{1u, 0xffffffffu, 0u, 2u, 0x6261u, 4u}));
    const DBStringTerm original("descr", NorvTest::awkwardText(), DBTerm::NEQ);
    EXPECT_EQ(original.getField(), -1);
    AlignedBuf buf;
    original.write(buf);
    EXPECT_EQ(NorvTest::wordsOf(*DBTerm::create(buf)), NorvTest::wordsOf(original));
}

TEST(DBStringTerm, UnknownComparisonsAreDropped) {
    AlignedBuf buf;
    for (unsigned int word : {1u, 5u, 0u, 0u, 7u, 8u, 0u, 0u, 0xffffffffu}) {
        buf.put(word);
    }
    const auto read = boost::dynamic_pointer_cast<DBStringTerm>(DBTerm::create(buf));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->getCompare(), DBTerm::EQ);
    DBStringTerm term(1, "", DBTerm::GE);
    term.read(buf);  // the body alone: no type code in front
    EXPECT_EQ(term.getField(), 8);
    EXPECT_EQ(term.getCompare(), DBTerm::GE);
}

TEST(DBStringTerm, DumpShowsTheComparisonByName) {
    std::ostringstream os;
    DBStringTerm().dump(os, 1);
    DBStringTerm("kw", "kinase", DBTerm::LIKE).dump(os, 0);
    EXPECT_EQ(os.str(),
              "  DBStringTerm {\n    field: -1\n    fieldName: \n    query: \n    compare: EQ\n  }\n"
              "DBStringTerm {\n  field: -1\n  fieldName: kw\n  query: kinase\n  compare: LIKE\n}\n");
}
