#include "world/random.h"

#include <gtest/gtest.h>

TEST(Random, DrawsTheHighBitsOfTheSeedTimesTheRange) {
    SeedRandom(0);
    for (int expected : {0, 3, 86}) EXPECT_EQ(RandomInt(100), expected);
    EXPECT_EQ(RandomInt(32768), 6638);
    // An empty range gives 0 but still advances the seed.
    SeedRandom(0);
    EXPECT_EQ(RandomInt(-5), 0);
    EXPECT_EQ(RandomSeedValue(), 1u);
}
