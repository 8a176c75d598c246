#include <gtest/gtest.h>

#include "platform/clock.h"
#include "world/random.h"
#include "world/random_clock.h"

namespace {

TEST(RandomClockSeedTest, FixedSeedOverridesTheClock) {
    FixClockSeed(42);
    UseVirtualClock(777);
    SeedRandomFromClock();
    EXPECT_EQ(RandomSeedValue(), 42u);
    FixClockSeed(std::nullopt);
    SeedRandomFromClock();
    EXPECT_EQ(RandomSeedValue(), 777u);
    UseRealClock();
}

} // namespace
