#include <norvext/query/Summary.h>
#include <norvext/query/internal/SummaryText.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Words.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using Norv::AlignedBuf;
using Norv::Summary;

namespace {

Summary filled() {
    Summary s(-1, 4000000000u, "title", "caption", "extra");
    s.setOption(1);
    s.setInitN(2);
    s.setInit1(3);
    s.setDBName("embl");
    s.setSourceDB(NorvTest::awkwardText());
    s.setSourceID("X56734");
    return s;
}

void expectEqual(const Summary& a, const Summary& b) {
    EXPECT_EQ(a.getDatabase(), b.getDatabase());
    EXPECT_EQ(a.getID(), b.getID());
    EXPECT_EQ(a.getOption(), b.getOption());
    EXPECT_EQ(a.getInitN(), b.getInitN());
    EXPECT_EQ(a.getInit1(), b.getInit1());
    EXPECT_EQ(a.getDBName(), b.getDBName());
    EXPECT_EQ(a.getSourceDB(), b.getSourceDB());
    EXPECT_EQ(a.getSourceID(), b.getSourceID());
    EXPECT_EQ(a.getTitle(), b.getTitle());
    EXPECT_EQ(a.getCaption(), b.getCaption());
    EXPECT_EQ(a.getExtra(), b.getExtra());
}

}  // namespace

TEST(Summary, Constructors) {
    const Summary byID(7, 42, nullptr, "cap", nullptr);
    EXPECT_EQ(byID.getDatabase(), 7);
    EXPECT_EQ(byID.getID(), 42u);
    EXPECT_EQ(byID.getCaption(), "cap");
    EXPECT_EQ(byID.getTitle(), "");
    EXPECT_EQ(byID.getExtra(), "");
    EXPECT_EQ(byID.getDBName(), "");
    EXPECT_EQ(byID.getOption() + byID.getInitN() + byID.getInit1(), 0u);

    const Summary byName(static_cast<const char*>(nullptr), 1, "t", nullptr, "x");
    EXPECT_EQ(byName.getDatabase(), -1);
    EXPECT_EQ(byName.getDBName(), "");
    const Summary named("swissprot", 1, nullptr, nullptr, nullptr);
    EXPECT_EQ(named.getDBName(), "swissprot");
    EXPECT_EQ(named.getDatabase(), -1);
}

TEST(Summary, WritesFieldsInOrder) {
    AlignedBuf buf;
    filled().write(buf);
    const auto w = NorvTest::words(buf);
    ASSERT_GE(w.size(), 7u);
    EXPECT_EQ(w[0], 0xffffffffu);  // database -1
    EXPECT_EQ(w[1], 4000000000u);
    EXPECT_EQ(w[2], 1u);
    EXPECT_EQ(w[3], 2u);
    EXPECT_EQ(w[4], 3u);
    EXPECT_EQ(w[5], 4u);  // dbName "embl": length, then bytes
    EXPECT_EQ(w[7], 6u);  // sourceDB keeps its zero byte in the length
}

TEST(Summary, RoundTripsThroughABuffer) {
    const Summary original = filled();
    AlignedBuf out;
    original.write(out);
    Summary(1, 2, "a", "b", "c").write(out);

    AlignedBuf in(out.bytes());
    Summary read;
    read.read(in);
    expectEqual(read, original);
    const Summary second(in);
    EXPECT_EQ(second.getTitle(), "a");
    EXPECT_EQ(second.getDatabase(), 1);

    AlignedBuf defaults;
    Summary().write(defaults);
    AlignedBuf again(defaults.bytes());
    expectEqual(Summary(again), Summary());
}

TEST(Summary, FailedReadKeepsWhatCameBefore) {
    AlignedBuf out;
    filled().write(out);
    std::vector<unsigned char> bytes = out.bytes();
    bytes.resize(5 * 4 + 4);  // the numbers and the dbName length only
    AlignedBuf in(bytes);
    Summary s(9, 9, "keep", nullptr, nullptr);
    EXPECT_THROW(s.read(in), std::out_of_range);
    EXPECT_EQ(s.getDatabase(), -1);
    EXPECT_EQ(s.getInit1(), 3u);
    EXPECT_EQ(s.getTitle(), "keep");
}

TEST(Summary, DumpListsEveryKeyInOrder) {
    std::ostringstream os;
    Summary().dump(os, 0);
    EXPECT_EQ(os.str(),
              "Summary {\n"
              "  database: -1\n"
              "  id: 0\n"
              "  option: 0\n"
              "  initN: 0\n"
              "  init1: 0\n"
              "  dbName: \n"
              "  sourceDB: \n"
              "  sourceID: \n"
              "  title: \n"
              "  caption: \n"
              "  extra: \n"
              "}\n");
}

TEST(SummaryText, SevenLines) {
    Summary s;
    s.setID(5);
    s.setTitle("ab");
    std::ostringstream os;
    Norv::internal::operator<<(os, s);
    EXPECT_EQ(os.str(), "-1 5 0 0 0\n0:\n0:\n0:\n2:ab\n0:\n0:\n");
}

TEST(SummaryText, RoundTripsAndReportsFailure) {
    const Summary original = filled();
    std::stringstream text;
    Norv::internal::operator<<(text, original);
    Summary read;
    Norv::internal::operator>>(text, read);
    EXPECT_FALSE(text.fail());
    expectEqual(read, original);

    std::istringstream broken("1 2 3\nrest");
    Summary other;
    Norv::internal::operator>>(broken, other);
    EXPECT_TRUE(broken.fail());
}
