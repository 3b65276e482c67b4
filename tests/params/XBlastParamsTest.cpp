#include <norvext/params/XBlastParams.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

using Norv::AlignedBuf;
using Norv::XBlastParams;

namespace {

std::vector<char> letters(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

// The settings that a preset writes, in the order of its table.
auto presetColumns(const XBlastParams& p) {
    return std::make_tuple(p.getProgram(), p.getDatabase(), p.getMatrix(), p.getExpect(), p.getGapOpen(),
                           p.getGapExtend(), p.getXDropoff(), p.getWordSize(), p.getGeneticCode(),
                           p.getGeneticCodeDatabase(), p.getLimit(), p.doGapped(), p.useFilter(), p.isProtein(),
                           p.isTranslated(), p.getNAMatchReward(), p.getNAMismatchPenalty());
}

struct OwnPresets : XBlastParams {
    void setDefaultsBLASTN() override { setProgram("own NA"); }
    void setDefaultsBLASTP() override { setProgram("own AA"); }
};

}  // namespace

TEST(XBlastParams, EveryPresetWritesItsWholeRowAndNothingElse) {
    using Row = std::tuple<const char*, const char*, const char*, double, int, int, int, int, int, int, int, bool,
                           bool, bool, bool, unsigned int, unsigned int>;
    const Row blastn{"BLASTN", "nr", "", 10.0, 5, 2, 30, 11, 1, 1, 50, true, true, false, false, 0, 0};
    const Row blastp{"BLASTP", "nr", "BLOSUM62", 10.0, 11, 1, 15, 3, 1, 1, 50, true, true, true, false, 0, 0};
    const std::pair<void (XBlastParams::*)(), Row> rows[] = {
        {&XBlastParams::setDefaultsBLASTN, blastn},
        {&XBlastParams::setDefaultsBLASTX,
         Row{"BLASTX", "nr", "BLOSUM62", 10.0, 11, 1, 15, 3, 1, 1, 50, true, true, false, true, 0, 0}},
        {&XBlastParams::setDefaultsTBLASTX,
         Row{"TBLASTX", "nr", "BLOSUM62", 10.0, 0, 0, 0, 3, 1, 1, 50, false, true, false, true, 0, 0}},
        {&XBlastParams::setDefaultsBLASTP, blastp},
        {&XBlastParams::setDefaultsTBLASTN,
         Row{"TBLASTN", "nr", "BLOSUM62", 10.0, 11, 1, 15, 3, 1, 1, 50, true, true, true, true, 0, 0}},
        {&XBlastParams::setNADefaults, blastn},
        {&XBlastParams::setAADefaults, blastp},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        XBlastParams p = NorvTest::samples<XBlastParams>()[2];  // every field away from every preset
        // Called through a local: GCC 12 with -fsanitize=undefined miscompiles
        // a call through a member pointer read from an array element.
        const auto preset = rows[i].first;
        (p.*preset)();
        EXPECT_EQ(presetColumns(p), rows[i].second) << "row " << i;
        const XBlastParams untouched = NorvTest::samples<XBlastParams>()[2];
        EXPECT_EQ(p.getName() + p.getLocator(), untouched.getName() + untouched.getLocator());
        EXPECT_EQ(p.getData(), untouched.getData());
    }
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

    p.data() = letters("UU");  // no fix through data(), nor on write or copy...
    AlignedBuf buf;
    p.write(buf);
    EXPECT_EQ(XBlastParams(p).getData(), letters("UU"));
    XBlastParams read;
    read.read(buf);
    EXPECT_EQ(read.getData(), letters("TT"));  // ...but on read
    AlignedBuf cut(std::vector<unsigned char>(buf.data(), buf.data() + buf.size() - 4));
    read.data() = letters("UGU");
    EXPECT_THROW(read.read(cut), std::out_of_range);
    EXPECT_EQ(read.getData(), letters("UGU"));  // a failed read fixes nothing
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
