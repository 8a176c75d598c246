#include <gtest/gtest.h>

#include "platform/clock.h"
#include "world/random.h"

namespace {

TEST(RandomTest, LinearCongruentialSequence) {
    SeedRandom(0);
    EXPECT_EQ(RandomInt(100), 0); // seed 1
    EXPECT_EQ(RandomSeed(), 1u);
    EXPECT_EQ(RandomInt(100), 3); // seed 134775814: 134775814 * 100 >> 32
    EXPECT_EQ(RandomSeed(), 134775814u);
    SeedRandom(0xFFFFFFFFu); // the product wraps modulo 2^32: seed 0xF7F77BFC
    EXPECT_EQ(RandomInt(1000), 968);
}

TEST(RandomTest, EmptyRangeGivesZeroAndStillAdvances) {
    SeedRandom(5);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-7), 0);
    EXPECT_EQ(RandomSeed(), (5u * 134775813u + 1u) * 134775813u + 1u);
}

TEST(RandomTest, ClockSeedCanBeFixed) {
    FixClockSeed(42);
    SeedRandomFromClock();
    EXPECT_EQ(RandomSeed(), 42u);
    FixClockSeed(std::nullopt);
    UseVirtualClock(777);
    SeedRandomFromClock();
    EXPECT_EQ(RandomSeed(), 777u);
    UseRealClock();
}

} // namespace
