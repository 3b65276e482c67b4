#include <norvext/params/XBlastParams.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/GTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using Norv::AlignedBuf;
using Norv::XBlastParams;

namespace {

std::vector<char> letters(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

struct OwnPresets : XBlastParams {
    void setDefaultsBLASTN() override { setProgram("own NA"); }
    void setDefaultsBLASTP() override { setProgram("own AA"); }
};

}  // namespace

// Each preset sets its program's whole row and nothing else: the golden file
// holds the dump of sample 2 (every field away from every preset) after each.
TEST(XBlastParams, EveryPresetSetsItsRowAsTheGoldenFileShows) {
    const std::pair<const char*, void (XBlastParams::*)()> presets[] = {
        {"setDefaultsBLASTN", &XBlastParams::setDefaultsBLASTN}, {"setDefaultsBLASTX", &XBlastParams::setDefaultsBLASTX},
        {"setDefaultsTBLASTX", &XBlastParams::setDefaultsTBLASTX}, {"setDefaultsBLASTP", &XBlastParams::setDefaultsBLASTP},
        {"setDefaultsTBLASTN", &XBlastParams::setDefaultsTBLASTN}, {"setNADefaults", &XBlastParams::setNADefaults},
        {"setAADefaults", &XBlastParams::setAADefaults},
    };
    std::string golden;
    for (const auto& entry : presets) {
        XBlastParams p = NorvTest::samples<XBlastParams>()[2];
        // Called through a local: GCC 12 with -fsanitize=undefined miscompiles
        // a call through a member pointer read from an array element.
        const auto preset = entry.second;
        (p.*preset)();
        golden += std::string(entry.first) + ":\n" + NorvTest::dumpOf(p, 1);
    }
    NorvTest::checkGolden("XBlastParams-presets.txt", golden);
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
    EXPECT_EQ(NorvTest::errorOf<std::out_of_range>([&] { p.setData(source, 2, 7); }),
              "XBlastParams::setData: range 2..7 does not fit a source of 6 bytes");
    EXPECT_EQ(p.getData(), letters("xA"));
}
