#include <norvext/params/FastAParams.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using Norv::FastAParams;

namespace {

std::string dumped(const FastAParams& p) {
    std::ostringstream os;
    p.dump(os, 0);
    return os.str();
}

long long earliestAfterTravel(long long earliest) {
    FastAParams p;
    p.setEarliest(earliest);
    Norv::AlignedBuf buf;
    p.write(buf);
    p.read(buf);
    return p.getEarliest();
}

}  // namespace

TEST(FastAParams, HasNoPresets) {
    FastAParams p = NorvTest::samples<FastAParams>()[2];
    p.setNADefaults();
    p.setAADefaults();
    EXPECT_EQ(dumped(p), dumped(NorvTest::samples<FastAParams>()[2]));
}

TEST(FastAParams, OnlyTheLowBitsOfEarliestTravelAndPrint) {
    EXPECT_EQ(earliestAfterTravel((1LL << 32) + 5), 5);
    EXPECT_EQ(earliestAfterTravel(-1), 4294967295LL);
    for (long long earliest : {-1LL, 4294967295LL}) {
        FastAParams p;
        p.setEarliest(earliest);
        EXPECT_NE(dumped(p).find("  earliest: -1\n"), std::string::npos) << earliest;
    }
}
