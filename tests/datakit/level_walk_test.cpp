// The coarse walker the level tests rely on: each rule it models, and what it
// refuses, on small hand-made levels.
#include <gtest/gtest.h>

#include "level_walk.h"

namespace {

// Types: 1 solid, 2 ladder climbed facing +z, 3 lava, 4 soil, 5 lever
// opening door 6, 7 spring, 8 ingot opening door 9, 10 crate.
WalkTypes testTypes() {
    const ProfileData definitions = ParseProfile(R"(
[Object 1]
Cube=TRUE
[Object 2]
Cube=FALSE
Ladder=TRUE
Collision=FALSE
Xmin=-200
Xmax=199
Zmin=160
Zmax=255
[Object 3]
Cube=TRUE
Death=TRUE
Collision=FALSE
[Object 4]
Cube=TRUE
Dig=TRUE
[Object 5]
Cube=FALSE
Lever=TRUE
LeverDoor=6
[Object 6]
Cube=FALSE
Door=TRUE
[Object 7]
Cube=FALSE
Spring=TRUE
Collision=FALSE
[Object 8]
Cube=FALSE
Lingot=TRUE
LingotDoor=9
Collision=FALSE
[Object 9]
Cube=FALSE
Door=TRUE
[Object 10]
Cube=TRUE
CanPush=TRUE
)");
    return ReadWalkTypes(definitions);
}

// A corridor along z, one cell wide: `columns` lists each z's cells from y = 0
// up; the hero starts at (0, startY, startZ).
LevelData corridor(const std::vector<std::string>& columns, int height, int startY = 1,
                   int startZ = 0) {
    LevelData level;
    level.sizeX = 1;
    level.sizeY = height;
    level.sizeZ = static_cast<int>(columns.size());
    level.cells.assign(level.sizeY * level.sizeZ, 0);
    level.brightness.assign(level.cells.size(), 128);
    for (int z = 0; z < level.sizeZ; ++z)
        for (int y = 0; y < height && y < static_cast<int>(columns[z].size()); ++y)
            level.cells[y + height * z] =
                static_cast<std::uint8_t>(columns[z][y] == 'c' ? 10 : columns[z][y] - '0');
    level.state.startY = startY;
    level.state.startZ = startZ;
    return level;
}

bool reaches(const LevelData& level, int y, int z) {
    return WalkLevel(level, testTypes()).reached.count({0, y, z}) > 0;
}

} // namespace

TEST(LevelWalk, StepsUpOneCellButNotTwo) {
    EXPECT_TRUE(reaches(corridor({"1", "11", "111"}, 5), 3, 2));
    EXPECT_FALSE(reaches(corridor({"1", "111"}, 5), 3, 1));
    // No head room over the start: no jump.
    EXPECT_FALSE(reaches(corridor({"101", "11"}, 5), 2, 1));
}

TEST(LevelWalk, FallsAnyDepthButNotIntoLava) {
    EXPECT_TRUE(reaches(corridor({"1111", "1"}, 6, 4), 1, 1));
    // Lava in the floor is a gap: walking on means dropping into it.
    EXPECT_FALSE(reaches(corridor({"11", "3", "11"}, 4, 2), 2, 2));
    EXPECT_FALSE(reaches(corridor({"11", "13", "11"}, 4, 2), 2, 2));
}

TEST(LevelWalk, LaddersLeadOntoTheWallTheyFace) {
    // Ladder cells at z = 1, rows 1..3, wall at z = 2 rows 1..3.
    EXPECT_TRUE(reaches(corridor({"1", "1222", "1111"}, 6), 4, 2));
    // Climbed from the wrong side it leads nowhere: it is left facing +z.
    EXPECT_FALSE(reaches(corridor({"1111", "1222", "1"}, 6, 1, 2), 4, 0));
}

TEST(LevelWalk, DiggingDropsThroughSoilOnly) {
    // The hero stands on a floor at row 2 over a sealed room; soil lets him in.
    EXPECT_TRUE(reaches(corridor({"101", "104", "101"}, 5, 3), 1, 2));
    EXPECT_FALSE(reaches(corridor({"101", "101", "101"}, 5, 3), 1, 2));
}

TEST(LevelWalk, LeversAndIngotsOpenTheirDoors) {
    // Two columns: the start at x = 0, z = 0 with a lever beside it (x = 1),
    // a door ahead (z = 1), the goal beyond it (z = 2).
    auto room = [](char beside) {
        LevelData level;
        level.sizeX = 2;
        level.sizeY = 2;
        level.sizeZ = 3;
        const char* rows[3] = {"1?", "11", "01"}; // row 1 of z = 0, 1, 2 (x = 0, 1)
        level.cells.assign(12, 1);
        for (int z = 0; z < 3; ++z)
            for (int x = 0; x < 2; ++x) {
                const char c = rows[z][x] == '?' ? beside : rows[z][x];
                level.cells[x + 2 * (1 + 2 * z)] = static_cast<std::uint8_t>(c - '0');
            }
        level.cells[0 + 2 * (1 + 2 * 0)] = 0;
        level.cells[0 + 2 * (1 + 2 * 1)] = 6; // the door
        level.brightness.assign(12, 128);
        level.state.startY = 1;
        return level;
    };
    const WalkResult withLever = WalkLevel(room('5'), testTypes());
    EXPECT_TRUE(withLever.reached.count({0, 1, 2}));
    EXPECT_TRUE(withLever.openedDoors.count(6));
    EXPECT_FALSE(WalkLevel(room('1'), testTypes()).reached.count({0, 1, 2}));

    // The ingot door opens once every ingot is within reach. (Two rows high:
    // with room above, the hero would jump onto the closed door.)
    const LevelData ingotFirst = corridor({"1", "18", "1", "19", "1"}, 2);
    EXPECT_TRUE(reaches(ingotFirst, 1, 4));
    EXPECT_FALSE(WalkLevel(ingotFirst, testTypes(), false).reached.count({0, 1, 4}));
    EXPECT_FALSE(reaches(corridor({"1", "19", "1", "18"}, 2), 1, 2));
    EXPECT_TRUE(reaches(corridor({"1", "19", "1", "18"}, 3), 1, 2));
}

TEST(LevelWalk, SpringsReachLedgesSixCellsUp) {
    EXPECT_TRUE(reaches(corridor({"17", "1111111"}, 9), 7, 1));
    EXPECT_FALSE(reaches(corridor({"17", "11111111"}, 10), 8, 1));
}

TEST(LevelWalk, CratesMoveOnlyIntoFreeCells) {
    EXPECT_TRUE(reaches(corridor({"1", "1c", "1", "1"}, 2), 1, 3));
    // Against the end wall, or with a crate on top, it stays put.
    EXPECT_FALSE(reaches(corridor({"1", "1c", "11"}, 2), 1, 1));
    EXPECT_FALSE(reaches(corridor({"1", "1cc", "1", "1"}, 3), 1, 3));
}
