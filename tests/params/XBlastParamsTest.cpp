#include <norvext/params/XBlastParams.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Allocations.h"
#include "tests/support/Words.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using Norv::AlignedBuf;
using Norv::XBlastParams;

namespace {

std::vector<char> letters(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

// Four letters as the little-endian word that holds them in a buffer.
std::uint32_t word(const char (&four)[5]) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(four[i]);
    }
    return value;
}

// Every field away from its default and from every preset.
XBlastParams unusual() {
    XBlastParams p;
    p.setName("NAME");
    p.setLocator("LOCA");
    p.setProgram("PROG");
    p.setDatabase("DB01");
    p.setMatrix("MATX");
    p.setExpect(2.5);
    p.setGapOpen(-5);
    p.setGapExtend(-1);
    p.setXDropoff(7);
    p.setWordSize(8);
    p.setGeneticCode(2);
    p.setGeneticCodeDatabase(3);
    p.setLimit(9);
    p.doGapped(true);
    p.useFilter(false);
    p.setProtein(true);
    p.setTranslated(false);
    p.setNAMatchReward(4);
    p.setNAMismatchPenalty(6);
    p.data() = letters("ACGU");
    return p;
}

// The settings that a preset writes, in the order of its table.
auto presetColumns(const XBlastParams& p) {
    return std::make_tuple(p.getProgram(), p.getDatabase(), p.getMatrix(), p.getExpect(), p.getGapOpen(),
                           p.getGapExtend(), p.getXDropoff(), p.getWordSize(), p.getGeneticCode(),
                           p.getGeneticCodeDatabase(), p.getLimit(), p.doGapped(), p.useFilter(), p.isProtein(),
                           p.isTranslated(), p.getNAMatchReward(), p.getNAMismatchPenalty());
}

auto allFields(const XBlastParams& p) {
    return std::tuple_cat(presetColumns(p), std::make_tuple(p.getName(), p.getLocator(), p.getData()));
}

struct OwnPresets : XBlastParams {
    void setDefaultsBLASTN() override { setProgram("own NA"); }
    void setDefaultsBLASTP() override { setProgram("own AA"); }
};

}  // namespace

TEST(XBlastParams, DefaultsAreNoPreset) {
    std::ostringstream os;
    XBlastParams().dump(os, 0);
    EXPECT_EQ(os.str(),
              "XBlastParams {\n  name: lcl\n  locator: \n  program: \n  database: \n  matrix: \n  expect: 10\n"
              "  gapOpen: 11\n  gapExtend: 1\n  xDropoff: 20\n  wordSize: 3\n  geneticCode: 1\n"
              "  geneticCode DB: 1\n  limit: 50\n  doGapped: true\n  useFilter: true\n  isProtein: false\n"
              "  isTranslated: false\n  matchReward: 0\n  mismatchPenalty: 0\n  data length: 0\n}\n");
}

TEST(XBlastParams, EveryPresetWritesItsWholeRowAndNothingElse) {
    using Row = std::tuple<const char*, const char*, const char*, double, int, int, int, int, int, int, int, bool,
                           bool, bool, bool, unsigned int, unsigned int>;
    const std::pair<void (XBlastParams::*)(), Row> rows[] = {
        {&XBlastParams::setDefaultsBLASTN,
         Row{"BLASTN", "nr", "", 10.0, 5, 2, 30, 11, 1, 1, 50, true, true, false, false, 0, 0}},
        {&XBlastParams::setDefaultsBLASTX,
         Row{"BLASTX", "nr", "BLOSUM62", 10.0, 11, 1, 15, 3, 1, 1, 50, true, true, false, true, 0, 0}},
        {&XBlastParams::setDefaultsTBLASTX,
         Row{"TBLASTX", "nr", "BLOSUM62", 10.0, 0, 0, 0, 3, 1, 1, 50, false, true, false, true, 0, 0}},
        {&XBlastParams::setDefaultsBLASTP,
         Row{"BLASTP", "nr", "BLOSUM62", 10.0, 11, 1, 15, 3, 1, 1, 50, true, true, true, false, 0, 0}},
        {&XBlastParams::setDefaultsTBLASTN,
         Row{"TBLASTN", "nr", "BLOSUM62", 10.0, 11, 1, 15, 3, 1, 1, 50, true, true, true, true, 0, 0}},
    };
    for (std::size_t i = 0; i < 5; ++i) {
        XBlastParams p = unusual();
        // Called through a local: GCC 12's -fsanitize=undefined miscompiles a
        // call through a member pointer taken straight from an array element.
        const auto preset = rows[i].first;
        (p.*preset)();
        EXPECT_EQ(presetColumns(p), rows[i].second) << "row " << i;
        EXPECT_EQ(p.getName() + p.getLocator(), "NAMELOCA");
        EXPECT_EQ(p.getData(), letters("ACGU"));
    }
    XBlastParams na = unusual();
    na.setNADefaults();
    EXPECT_EQ(presetColumns(na), rows[0].second);
    XBlastParams aa = unusual();
    aa.setAADefaults();
    EXPECT_EQ(presetColumns(aa), rows[3].second);
}

TEST(XBlastParams, KindOfQueryPresetsDispatchVirtually) {
    OwnPresets p;
    p.setNADefaults();
    EXPECT_EQ(p.getProgram(), "own NA");
    p.setAADefaults();
    EXPECT_EQ(p.getProgram(), "own AA");
    EXPECT_EQ(p.getXDropoff(), 20);  // no preset of the base ran
}

TEST(XBlastParams, RnaFixLooksAtTheProteinFlagWhenItRuns) {
    XBlastParams p;
    p.setData("ACGUu", 5);
    EXPECT_EQ(p.getData(), letters("ACGTu"));
    p.setProtein(true);
    p.setData("ACGUu", 5);
    EXPECT_EQ(p.getData(), letters("ACGUu"));
    p.setProtein(false);
    EXPECT_EQ(p.getData(), letters("ACGUu"));  // turning the flag off fixes nothing
    p.setData(nullptr, 0);
    EXPECT_TRUE(p.getData().empty());

    p.data() = letters("UU");  // no fix through data(), nor on write or copy
    AlignedBuf buf;
    p.write(buf);
    EXPECT_EQ(NorvTest::words(buf).back(), word("UU\0\0"));
    EXPECT_EQ(XBlastParams(p).getData(), letters("UU"));
    AlignedBuf in(buf.bytes());
    EXPECT_EQ(XBlastParams(in).getData(), letters("TT"));  // ...but on read
}

TEST(XBlastParams, SetDataRange) {
    XBlastParams p;
    const std::vector<char> source = letters("xAUGCy");
    p.setData(source, 1, 6);
    EXPECT_EQ(p.getData(), letters("ATGCy"));
    p.setData(source, 6, 6);
    EXPECT_TRUE(p.getData().empty());
    p.setData(source, 0, 2);
    EXPECT_THROW(p.setData(source, 3, 2), std::out_of_range);
    try {
        p.setData(source, 2, 7);
        ADD_FAILURE() << "range past the end was taken";
    } catch (const std::out_of_range& e) {
        EXPECT_EQ(std::string(e.what()), "XBlastParams::setData: range 2..7 does not fit a source of 6 bytes");
    }
    EXPECT_EQ(p.getData(), letters("xA"));
}

TEST(XBlastParams, WritesFieldsInPersistedOrder) {
    AlignedBuf buf;
    unusual().write(buf);
    const std::vector<std::uint32_t> expected = {
        4, word("NAME"), 4, word("LOCA"), 4, word("PROG"), 4, word("DB01"), 4, word("MATX"),
        0, 0x40040000,                            // 2.5
        0xfffffffbu, 0xffffffffu, 7, 8, 2, 3, 9,  // gap costs keep their sign
        1, 0, 1, 0, 4, 6, 4, word("ACGU")};      // protein on: no fix
    EXPECT_EQ(NorvTest::words(buf), expected);
}

TEST(XBlastParams, RoundTripsThroughABuffer) {
    XBlastParams awkward = unusual();
    awkward.setName(NorvTest::awkwardText());
    awkward.data().clear();
    AlignedBuf out;
    unusual().write(out);
    awkward.write(out);
    const auto w = NorvTest::words(out);
    EXPECT_EQ(w[w.size() - 2], 6u);  // the penalty, then empty letters: a count of 0 and nothing more
    EXPECT_EQ(w.back(), 0u);

    AlignedBuf in(out.bytes());
    XBlastParams first;
    first.read(in);
    EXPECT_EQ(allFields(first), allFields(unusual()));
    EXPECT_EQ(allFields(XBlastParams(in)), allFields(awkward));
}

TEST(XBlastParams, FailedReadKeepsEarlierFieldsAndSkipsTheFix) {
    XBlastParams source = unusual();
    source.setProtein(false);
    AlignedBuf out;
    source.write(out);
    std::vector<unsigned char> bytes = out.bytes();
    bytes.resize(bytes.size() - 4);  // the letters' count survives, their bytes do not
    AlignedBuf in(bytes);
    XBlastParams p;
    p.data() = letters("UGU");
    EXPECT_THROW(p.read(in), std::out_of_range);
    EXPECT_EQ(p.getName(), "NAME");
    EXPECT_EQ(p.getNAMismatchPenalty(), 6u);
    EXPECT_EQ(p.getData(), letters("UGU"));
}

TEST(XBlastParams, HostileBlobCountCostsNothing) {
    AlignedBuf out;
    XBlastParams().write(out);  // ends with the count 0 of an empty blob
    std::vector<unsigned char> bytes = out.bytes();
    bytes.resize(bytes.size() - 4);
    AlignedBuf in(bytes);
    in.put(NorvTest::kHostileCount);
    in.put(static_cast<unsigned int>(word("ACGU")));  // four letters of the 4294967295
    XBlastParams p;
    p.data() = letters("UGU");
    EXPECT_TRUE(NorvTest::failsCheaply([&] { p.read(in); }));
    EXPECT_EQ(p.getName(), "lcl");
    EXPECT_EQ(p.getData(), letters("UGU"));  // neither replaced nor fixed
}
