#include "world/random.h"

#include <gtest/gtest.h>

TEST(Random, DrawsTheHighBitsOfTheSeedTimesTheRange) {
    SeedRandom(0);
    EXPECT_EQ(RandomInt(100), 0);
    EXPECT_EQ(RandomInt(100), 3);
    EXPECT_EQ(RandomInt(100), 86);
    EXPECT_EQ(RandomInt(32768), 6638);
    EXPECT_EQ(RandomInt(7), 1);

    SeedRandom(12345);
    for (int expected : {19, 14, 3, 27, 31}) EXPECT_EQ(RandomInt(50), expected);
}

TEST(Random, EmptyRangesGiveZeroButStillAdvance) {
    SeedRandom(0);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-5), 0);
    EXPECT_EQ(RandomSeedValue(), 134775814u);
    SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        const int v = RandomInt(2147483647);
        ASSERT_GE(v, 0);
    }
}
