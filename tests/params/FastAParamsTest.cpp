#include <norvext/params/FastAParams.h>

#include <norvutil/AlignedBuf.h>

#include "tests/support/Samples.h"

#include <gtest/gtest.h>

#include <string>

using Norv::FastAParams;

namespace {

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
    EXPECT_EQ(NorvTest::bytesOf(p), NorvTest::bytesOf(NorvTest::samples<FastAParams>()[2]));
}

// How the low bits print is in tests/golden/FastAParams.txt (sample 2).
TEST(FastAParams, OnlyTheLowBitsOfEarliestTravel) {
    EXPECT_EQ(earliestAfterTravel((1LL << 32) + 5), 5);
    EXPECT_EQ(earliestAfterTravel(-1), 4294967295LL);
}
