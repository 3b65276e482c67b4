#include <norvext/params/FastAParams.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Allocations.h"
#include "tests/support/Words.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

using Norv::AlignedBuf;
using Norv::FastAParams;

namespace {

FastAParams filled() {
    FastAParams p;
    p.setDatabase("DBAS");
    p.setAlgorithm("ALGO");
    p.setOptimization("OPTI");
    p.setTranslation("TRAN");
    p.setExpect(2.5);
    p.setDatabaseType(-2);
    p.setOutputConstraint(-3);
    p.setShiftValue(4);
    p.setLimit(5);
    p.setWordSize(6);
    p.setOptimizationThreshold(7);
    p.setEarliest(8);
    p.useEarliest(true);
    p.setGapCreate(9);
    p.setGapExt(10);
    p.setMatrix("MATX");
    p.useMatrixDiagonals(true);
    p.useTopStrand(false);
    p.useSmithWaterman(true);
    p.data() = {'A', 'C', 'G', 'U'};
    return p;
}

std::string dumped(const FastAParams& p) {
    std::ostringstream os;
    p.dump(os, 0);
    return os.str();
}

FastAParams throughBuffer(const FastAParams& p) {
    AlignedBuf out;
    p.write(out);
    AlignedBuf in(out.bytes());
    FastAParams read;
    read.read(in);
    return read;
}

}  // namespace

TEST(FastAParams, DefaultsAndNoPresets) {
    const std::string zero =
        "FastAParams {\n  database: \n  algorithm: \n  optimization: \n  translation: \n  expect: 0\n  dbType: 0\n"
        "  constraint: 0\n  shiftVal: 0\n  limit: 0\n  wordSize: 0\n  optThreshold: 0\n  earliest: 0\n"
        "  useEarliest: false\n  gapCreate: 0\n  gapExt: 0\n  matrix: \n  matrixDiagonals: false\n"
        "  topStrand: false\n  smithWaterman: false\n  data length: 0\n}\n";
    EXPECT_EQ(dumped(FastAParams()), zero);
    FastAParams p = filled();
    p.setNADefaults();
    p.setAADefaults();
    EXPECT_EQ(dumped(p), dumped(filled()));
}

TEST(FastAParams, WritesFieldsInPersistedOrder) {
    AlignedBuf buf;
    filled().write(buf);
    const auto w = NorvTest::words(buf);
    ASSERT_EQ(w.size(), 27u);
    for (std::size_t at : {0, 2, 4, 6, 20, 25}) {
        EXPECT_EQ(w[at], 4u) << "length at word " << at;
    }
    const std::vector<std::uint32_t> numbers = {0, 0x40040000, 0xfffffffeu, 0xfffffffdu, 4, 5, 6, 7, 8, 1, 9, 10};
    EXPECT_EQ(std::vector<std::uint32_t>(w.begin() + 8, w.begin() + 20), numbers);
    EXPECT_EQ(std::vector<std::uint32_t>(w.begin() + 22, w.begin() + 25), (std::vector<std::uint32_t>{1, 0, 1}));
    const std::string text(buf.bytes().begin(), buf.bytes().end());
    EXPECT_EQ(text.substr(4, 4) + text.substr(12, 4) + text.substr(84, 4) + text.substr(104), "DBASALGOMATXACGU");
}

TEST(FastAParams, RoundTripsThroughABuffer) {
    FastAParams p = filled();
    EXPECT_EQ(dumped(throughBuffer(p)), dumped(p));
    EXPECT_EQ(throughBuffer(p).getData(), p.getData());  // letters unchanged, 'U' included

    p.setMatrix(NorvTest::awkwardText());
    p.data().clear();
    const FastAParams read = throughBuffer(p);
    EXPECT_EQ(read.getMatrix(), NorvTest::awkwardText());
    EXPECT_TRUE(read.getData().empty());
    EXPECT_EQ(read.getDatabaseType(), -2);
}

TEST(FastAParams, OnlyTheLowBitsOfEarliestTravel) {
    FastAParams p;
    p.setEarliest((1LL << 32) + 5);
    EXPECT_EQ(throughBuffer(p).getEarliest(), 5);
    p.setEarliest(-1);
    EXPECT_EQ(throughBuffer(p).getEarliest(), 4294967295LL);
    EXPECT_NE(dumped(p).find("  earliest: -1\n"), std::string::npos);
    p.setEarliest(4294967295LL);
    EXPECT_NE(dumped(p).find("  earliest: -1\n"), std::string::npos);
}

// A caller may keep and change the matrix name without touching the object.
static_assert(std::is_same<decltype(FastAParams().getMatrix()), std::string>::value, "getMatrix() returns a copy");

TEST(FastAParams, HostileBlobCountCostsNothing) {
    AlignedBuf out;
    filled().write(out);
    std::vector<unsigned char> bytes = out.bytes();
    const std::size_t blob = 4 + ((filled().getData().size() + 3) & ~std::size_t(3));
    bytes.resize(bytes.size() - blob);
    AlignedBuf in(bytes);
    in.put(NorvTest::kHostileCount);
    in.put(0x41434744u);  // four letters of the 4294967295
    FastAParams p;
    p.data().assign(3, 'x');
    EXPECT_TRUE(NorvTest::failsCheaply([&] { p.read(in); }));
    EXPECT_EQ(p.getMatrix(), filled().getMatrix());
    EXPECT_EQ(p.getData(), std::vector<char>(3, 'x'));
}
