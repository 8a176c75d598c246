#include "world/world.h"

#include <gtest/gtest.h>

namespace {

class Grid : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(4, 3, 2));
    }
    void TearDown() override { ClearWorldTables(); }
};

} // namespace

TEST(CellOf, TruncatesTowardZeroAndKeepsHugeValuesOutside) {
    EXPECT_EQ(cellOf(511.9f), 0);
    EXPECT_EQ(cellOf(512.0f), 1);
    EXPECT_EQ(cellOf(-3.0f), 0);
    EXPECT_EQ(cellOf(-512.0f), -1);
    EXPECT_LT(cellOf(-1e30f), 0);
    EXPECT_GT(cellOf(1e30f), 1 << 20);
    EXPECT_LT(cellOf(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST_F(Grid, StoresCellsInXThenYThenZOrder) {
    setCell(1, 2, 1, 7);
    EXPECT_EQ(worldGrid.cells[1 + 4 * (2 + 3 * 1)], 7);
    EXPECT_EQ(cellAt(1, 2, 1), 7);
    worldGrid.brightness[3 + 4 * (0 + 3 * 1)] = 200;
    EXPECT_EQ(brightnessAt(3, 0, 1), 200);
}

TEST_F(Grid, ReadsOutsideGiveZeroAndWritesOutsideChangeNothing) {
    objectTypes[9].Lingot = 1;
    for (int v = 0; v < 24; ++v) worldGrid.cells[v] = 9, worldGrid.brightness[v] = 128;
    RecountIngots();
    ASSERT_EQ(objectTypes[9].lingotCount, 24);

    EXPECT_EQ(cellAt(-1, 0, 0), 0);
    EXPECT_EQ(cellAt(4, 0, 0), 0);
    EXPECT_EQ(cellAt(0, 3, 0), 0);
    EXPECT_EQ(cellAt(0, 0, 2), 0);
    EXPECT_EQ(brightnessAt(0, -1, 0), 0);
    EXPECT_EQ(brightnessAt(0, 0, 2), 0);

    const auto before = worldGrid.cells;
    setCell(-1, 0, 0, 0);
    setCell(4, 0, 0, 0);
    setCell(0, 0, 2, 0);
    EXPECT_EQ(worldGrid.cells, before);
    EXPECT_EQ(objectTypes[9].lingotCount, 24);
}

TEST_F(Grid, IngotCountsFollowEveryWrite) {
    objectTypes[5].Lingot = 1;
    objectTypes[6].Lingot = 1;
    setCell(0, 0, 0, 5);
    setCell(1, 0, 0, 5);
    EXPECT_EQ(objectTypes[5].lingotCount, 2);

    // One ingot type over another moves one unit between them.
    setCell(0, 0, 0, 6);
    EXPECT_EQ(objectTypes[5].lingotCount, 1);
    EXPECT_EQ(objectTypes[6].lingotCount, 1);

    // The same type over itself leaves the count alone.
    setCell(0, 0, 0, 6);
    EXPECT_EQ(objectTypes[6].lingotCount, 1);

    // Taking an ingot (empty over it) and writing a plain type count nothing for the plain type.
    setCell(1, 0, 0, 0);
    EXPECT_EQ(objectTypes[5].lingotCount, 0);
    setCell(2, 0, 0, 3);
    EXPECT_EQ(objectTypes[3].lingotCount, 0);

    // A value wider than a byte stores its low byte and counts that type.
    setCell(3, 0, 0, 256 + 5);
    EXPECT_EQ(cellAt(3, 0, 0), 5);
    EXPECT_EQ(objectTypes[5].lingotCount, 1);
}

TEST_F(Grid, ResizeRefusesBadSizesAndKeepsTheGrid) {
    setCell(1, 1, 1, 4);
    EXPECT_FALSE(ResizeWorldGrid(0, 3, 2));
    EXPECT_FALSE(ResizeWorldGrid(4, -1, 2));
    EXPECT_FALSE(ResizeWorldGrid(65536, 65536, 1)); // 2^32 cells
    EXPECT_FALSE(ResizeWorldGrid(46341, 46341, 1)); // just over the int32 range
    EXPECT_FALSE(ResizeWorldGrid(2147483647, 2147483647, 2147483647));
    EXPECT_EQ(worldGrid.sizeX, 4);
    EXPECT_EQ(worldGrid.sizeY, 3);
    EXPECT_EQ(worldGrid.sizeZ, 2);
    EXPECT_EQ(cellAt(1, 1, 1), 4);

    ASSERT_TRUE(ResizeWorldGrid(5, 1, 1));
    EXPECT_EQ(worldGrid.cells.size(), 5u);
    EXPECT_EQ(worldGrid.brightness.size(), 5u);
    EXPECT_EQ(cellAt(1, 0, 0), 0);
    EXPECT_EQ(cellAt(0, 1, 0), 0); // the old sizes no longer apply
}
