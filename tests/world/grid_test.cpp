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
    EXPECT_EQ(CellOf(511.9f), 0);
    EXPECT_EQ(CellOf(512.0f), 1);
    EXPECT_EQ(CellOf(-3.0f), 0);
    EXPECT_GT(CellOf(1e30f), 1 << 20);
    EXPECT_LT(CellOf(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST_F(Grid, CellsOutsideReadZeroAndIgnoreWrites) {
    setCell(1, 2, 1, 7);
    EXPECT_EQ(worldGrid.cells[1 + 4 * (2 + 3 * 1)], 7);
    objectTypes[9].Lingot = 1;
    setCell(0, 0, 0, 9);
    for (auto [x, y, z] : {std::array{-1, 0, 0}, {4, 0, 0}, {0, 3, 0}, {0, 0, 2}, {0, -1, 0}}) {
        EXPECT_EQ(cellAt(x, y, z), 0);
        EXPECT_EQ(brightnessAt(x, y, z), 0);
        setCell(x, y, z, 0);
        setCell(x, y, z, 9);
    }
    EXPECT_EQ(objectTypes[9].lingotCount, 1);
    EXPECT_EQ(std::count(worldGrid.cells.begin(), worldGrid.cells.end(), 0), 22);
}

TEST_F(Grid, IngotCountsFollowEveryWrite) {
    objectTypes[5].Lingot = 1;
    objectTypes[6].Lingot = 1;
    setCell(0, 0, 0, 5);
    setCell(1, 0, 0, 5);
    setCell(0, 0, 0, 6); // one ingot type over another moves one unit
    EXPECT_EQ(objectTypes[5].lingotCount, 1);
    EXPECT_EQ(objectTypes[6].lingotCount, 1);
    setCell(0, 0, 0, 6); // the same type over itself changes nothing
    EXPECT_EQ(objectTypes[6].lingotCount, 1);
    setCell(1, 0, 0, 0);
    EXPECT_EQ(objectTypes[5].lingotCount, 0);
    // A value wider than a byte stores its low byte and counts that type.
    setCell(3, 0, 0, 256 + 5);
    EXPECT_EQ(cellAt(3, 0, 0), 5);
    EXPECT_EQ(objectTypes[5].lingotCount, 1);
}

TEST_F(Grid, ResizeRefusesBadSizesAndKeepsTheGrid) {
    setCell(1, 1, 1, 4);
    EXPECT_FALSE(ResizeWorldGrid(0, 3, 2));
    EXPECT_FALSE(ResizeWorldGrid(4, -1, 2));
    EXPECT_FALSE(ResizeWorldGrid(46341, 46341, 1)); // just over the int32 range
    EXPECT_FALSE(ResizeWorldGrid(65536, 65536, 65536));
    EXPECT_EQ(worldGrid.sizeX * worldGrid.sizeY * worldGrid.sizeZ, 24);
    EXPECT_EQ(cellAt(1, 1, 1), 4);

    ASSERT_TRUE(ResizeWorldGrid(5, 1, 1));
    EXPECT_EQ(worldGrid.brightness.size(), 5u);
    EXPECT_EQ(cellAt(1, 0, 0), 0);
}
