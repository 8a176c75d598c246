#include <gtest/gtest.h>

#include <limits>

#include "world/action_cell.h"
#include "world/aim_angles.h"
#include "world/level_start.h"
#include "world/world.h"

TEST(AimAngles, HeadingAndPitchTowardsATarget) {
    struct Case {
        float dx, dy, dz;
        float yaw, pitch;
    };
    const Case cases[] = {
        {0, 0, 10, 0, 0},            // ahead along +z
        {10, 0, 0, 8192, 0},         // along +x
        {0, 0, -10, 16384, 0},       // behind
        {-10, 0, 0, 24576, 0},       // along -x: negative angles wrap to a full turn
        {10, 0, 10, 4096.01f, 0},    // half way, by the data's own constants
        {10, 10, 0, 8192, 4096.01f}, // up at 45 degrees
        {0, -10, 10, 0, 28671.99f},  // down at 45 degrees
        {0, 10, 0, 8192, 8192},      // straight up
        {0, -10, 0, 8192, 24576},    // straight down looks down, not up
        {0, 0, 0, 8192, 0},          // the same point: level
    };
    for (const Case& c : cases) {
        const AimAngles aim = aimAngles(100, 200, 300, 100 + c.dx, 200 + c.dy, 300 + c.dz);
        EXPECT_NEAR(aim.yaw, c.yaw, 0.01f) << c.dx << "," << c.dy << "," << c.dz;
        EXPECT_NEAR(aim.pitch, c.pitch, 0.01f) << c.dx << "," << c.dy << "," << c.dz;
    }
}

namespace {

class ActionCell : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(6, 4, 6));
        objectTypes[1].undefined = 0; // floor
        objectTypes[2].undefined = 0; // a block standing on it
        objectTypes[3].undefined = 0; // diggable
        objectTypes[3].Dig = 1;
    }
    void TearDown() override { ClearWorldTables(); }

    // Standing on row 1 (feet at 512) at (x, z), facing `heading`.
    std::array<std::int32_t, 3> cellFor(float x, float z, float heading) {
        PlayerRecord& p = players[0];
        p.x = x;
        p.y = 512 + 240;
        p.z = z;
        p.heading = heading;
        UpdateActionCell(p);
        return p.actionCell;
    }
};

} // namespace

TEST_F(ActionCell, FloorCellInFrontOrWhatStandsOnIt) {
    using Cell = std::array<std::int32_t, 3>;
    // From the middle of cell (2, 2) the reach of 382 ends in the next cell.
    EXPECT_EQ(cellFor(1280, 1280, 0), (Cell{2, 0, 3}));
    EXPECT_EQ(cellFor(1280, 1280, 8192), (Cell{3, 0, 2}));
    EXPECT_EQ(cellFor(1280, 1280, 16384), (Cell{2, 0, 1}));
    // Near the back of a cell the short reach stays in it: the long one is used.
    EXPECT_EQ(cellFor(1280, 1034, 0), (Cell{2, 0, 3}));
    // Something defined and not diggable on the floor cell is the target...
    setCell(2, 1, 3, 2);
    EXPECT_EQ(cellFor(1280, 1280, 0), (Cell{2, 1, 3}));
    // ...but a diggable one is not: the floor under it stays the target.
    setCell(2, 1, 3, 3);
    EXPECT_EQ(cellFor(1280, 1280, 0), (Cell{2, 0, 3}));
    // An undefined type counts as air.
    setCell(2, 1, 3, 9);
    EXPECT_EQ(cellFor(1280, 1280, 0), (Cell{2, 0, 3}));
}

TEST_F(ActionCell, AStartRowBeyondEveryGridKeepsTheActionInItsRow) {
    // Row INT_MAX has no row above it to stand something on.
    ResetPlayersForLevel(2, std::numeric_limits<int>::max(), 2, 0);
    UpdateActionCell(players[0]);
    EXPECT_EQ(players[0].actionCell[1], std::numeric_limits<int>::max());
}
