#include "engine/mesh.h"
#include "world/level_start.h"
#include "world/world.h"

#include <gtest/gtest.h>

using V3 = std::array<float, 3>;

TEST(LevelStart, ResetsPlayersRecountsIngotsAndFreesTheLists) {
    ClearWorldTables();
    ASSERT_TRUE(ResizeWorldGrid(3, 3, 3));
    for (PlayerRecord& p : players) {
        p.dead = 1, p.pose = 7, p.fallSpeed = -300, p.lives = 2;
    }
    objectTypes[4].Lingot = 1;
    objectTypes[4].lingotCount = 40;
    worldGrid.cells[0] = worldGrid.cells[5] = worldGrid.cells[26] = 4;
    holeCount = slidingBlockCount = 3;
    for (int i : {0, 256}) {
        transitionSlots[i].active = 1;
        transitionSlots[i].workMesh = MakeMesh(3, 1);
        ASSERT_TRUE(transitionSlots[i].workMesh);
    }

    ResetPlayersForLevel(2, 1, 0, 8192);

    for (const PlayerRecord& p : players) {
        EXPECT_EQ((V3{p.x, p.y, p.z}), (V3{1280.0f, 992.0f, 256.0f}));
        EXPECT_EQ((V3{p.cameraX, p.cameraY, p.cameraZ}), (V3{p.x, p.y, p.z}));
        EXPECT_EQ(p.dead + p.pose + p.fallSpeed, 0);
        EXPECT_EQ(p.lives, 2); // carried from level to level
    }
    EXPECT_EQ(objectTypes[4].lingotCount, 3);
    EXPECT_EQ(holeCount, -1);
    EXPECT_EQ(slidingBlockCount, -1);
    for (const TransitionSlot& slot : transitionSlots) {
        EXPECT_EQ(slot.active, 0);
        EXPECT_FALSE(slot.workMesh);
    }
    ClearWorldTables();
}
