#include <norvext/query/DBRangeTerm.h>

#include "tests/query/TermBuffers.h"

#include <gtest/gtest.h>

#include <sstream>

using Norv::DBRangeTerm;

TEST(DBRangeTerm, WritesCodeThenFieldsAndRoundTrips) {
    // code, field, fieldName (length 0), start (1, 'a'), end (2, 'bc')
    EXPECT_EQ(NorvTest::wordsOf(DBRangeTerm(-2, "a", "bc")),
              (std::vector<std::uint32_t>{2u, 0xfffffffeu, 0u, 1u, 0x61u, 2u, 0x6362u}));
    const DBRangeTerm original("length", NorvTest::awkwardText(), "500");
    EXPECT_EQ(original.getField(), -1);
    Norv::AlignedBuf buf;
    original.write(buf);
    EXPECT_EQ(NorvTest::wordsOf(*Norv::DBTerm::create(buf)), NorvTest::wordsOf(original));
}

TEST(DBRangeTerm, DumpLabelsTheLowerBoundBegin) {
    std::ostringstream os;
    DBRangeTerm(4, "10", "20").dump(os, 0);
    EXPECT_EQ(os.str(), "DBRangeTerm {\n  field: 4\n  fieldName: \n  begin: 10\n  end: 20\n}\n");
}
