#include "engine/mesh.h"
#include "world/level_start.h"
#include "world/player_motion.h"
#include "world/world.h"

#include <gtest/gtest.h>

using V3 = std::array<float, 3>;

TEST(LevelStart, ResetsPlayersAndFreesTheLists) {
    ClearWorldTables();
    ASSERT_TRUE(ResizeWorldGrid(3, 3, 3));
    for (PlayerRecord& p : players) {
        p.dead = 1, p.pose = 7, p.fallSpeed = -300, p.lives = 2;
    }
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
    EXPECT_EQ(holeCount, -1);
    EXPECT_EQ(slidingBlockCount, -1);
    for (const TransitionSlot& slot : transitionSlots) {
        EXPECT_EQ(slot.active, 0);
        EXPECT_FALSE(slot.workMesh);
    }
    ClearWorldTables();
}

namespace {

constexpr std::uint8_t kOldIngot = 4, kNewIngot = 7;

// A 3 x 2 x 2 level with two cells of each ingot type.
LevelData ingotLevel() {
    LevelData level;
    level.sizeX = 3, level.sizeY = 2, level.sizeZ = 2;
    level.cells = {kOldIngot, 0, kNewIngot, 0, 0, 0, 0, kOldIngot, 0, 0, 0, kNewIngot};
    level.brightness.assign(12, 90);
    level.state.startX = 1, level.state.startY = 1, level.state.startZ = 1;
    level.state.randomSeed = 5;
    return level;
}

class ApplyLevelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        objectTypes[kOldIngot].Lingot = 1;
        objectTypes[kOldIngot].lingotCount = 40; // stale, from an earlier level
    }
    void TearDown() override { ClearWorldTables(); }
};

} // namespace

TEST_F(ApplyLevelTest, IngotsAreCountedOnceTheLevelsTypesAreIn) {
    int calls = 0;
    const auto loadTypes = [&] {
        ++calls;
        // The level is in place when its types come.
        EXPECT_EQ(cellAt(2, 0, 0), kNewIngot);
        EXPECT_EQ(players[0].x, 512.0f + 256.0f);
        objectTypes[kOldIngot].Lingot = 0;
        objectTypes[kNewIngot].Lingot = 1;
    };
    ASSERT_TRUE(ApplyLevel(ingotLevel(), loadTypes));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(objectTypes[kNewIngot].lingotCount, 2);
    EXPECT_EQ(objectTypes[kOldIngot].lingotCount, 0);

    // Without new types the level is counted with those in place.
    ASSERT_TRUE(ApplyLevel(ingotLevel()));
    EXPECT_EQ(objectTypes[kNewIngot].lingotCount, 2);
    EXPECT_EQ(objectTypes[kOldIngot].lingotCount, 0);
    EXPECT_EQ(world.startCells, ingotLevel().cells);
}

TEST_F(ApplyLevelTest, TheGridDecidesWhichCellsCount) {
    // Layers longer than the grid are cut: an ingot past its end is neither
    // placed nor counted. Shorter layers leave the rest of the grid empty.
    LevelData level = ingotLevel();
    level.cells.push_back(kOldIngot);
    level.brightness.resize(5);
    ASSERT_TRUE(ApplyLevel(level));
    EXPECT_EQ(worldGrid.cells.size(), 12u);
    EXPECT_EQ(objectTypes[kOldIngot].lingotCount, 2);
    EXPECT_EQ(brightnessAt(1, 1, 0), 90); // cell 4
    EXPECT_EQ(brightnessAt(0, 0, 1), 0);  // cell 6

    level.cells.resize(3); // one old ingot left in the layer
    ASSERT_TRUE(ApplyLevel(level));
    EXPECT_EQ(objectTypes[kOldIngot].lingotCount, 1);
    EXPECT_EQ(cellAt(1, 0, 1), 0);
}

TEST_F(ApplyLevelTest, AGridThatCannotBeMadeChangesNothing) {
    ASSERT_TRUE(ApplyLevel(ingotLevel()));
    players[0].x = 1.0f;
    timerRunning = 1;
    for (auto sizes : {std::array{0, 2, 2}, std::array{65536, 65536, 2}}) {
        LevelData level = ingotLevel();
        level.sizeX = sizes[0], level.sizeY = sizes[1], level.sizeZ = sizes[2];
        level.state.startX = 9;
        bool called = false;
        EXPECT_FALSE(ApplyLevel(level, [&] { called = true; }));
        EXPECT_FALSE(called);
        EXPECT_EQ(worldGrid.cells, ingotLevel().cells);
        EXPECT_EQ(levelState.startX, 1);
        EXPECT_EQ(players[0].x, 1.0f);
        EXPECT_EQ(timerRunning, 1);
        EXPECT_EQ(objectTypes[kOldIngot].lingotCount, 2);
    }
}

TEST_F(ApplyLevelTest, SentriesBeyondTheLastSlotAreDropped) {
    LevelData level = ingotLevel();
    for (int k = 0; k < kMaxLevelSentries + 3; ++k)
        level.sentries.push_back({256.0f, 256.0f, 256.0f, static_cast<float>(k)});
    ASSERT_TRUE(ApplyLevel(level));
    EXPECT_EQ(sentryCount, kMaxLevelSentries);
    EXPECT_EQ(sentries[kMaxLevelSentries].heading, kMaxLevelSentries - 1.0f);
}
