// The simulation's parts working together through the play frame: a pushed
// block against a wall, a hole refilling around the hero, long frames.
#include "world/level_start.h"
#include "world/play_frame.h"

#include <cmath>

#include <gtest/gtest.h>

#include "world/behaviours.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world_test_helpers.h"

namespace {

constexpr int kFloor = 1, kWall = 2, kBlock = 3, kSoil = 4;

class PlayFrame : public SmallWorld {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        DefineType(kFloor);
        DefineType(kWall);
        ObjectType& block = DefineType(kBlock);
        block.CanPush = 1;
        ObjectType& soil = DefineType(kSoil);
        soil.Dig = 1, soil.Recover = 1;
        for (int x = 0; x < 6; ++x)
            for (int z = 0; z < 6; ++z) setCell(x, 0, z, kFloor);
        levelState.exitX = -1; // no exit in reach
        ResetPlayersForLevel(0, 1, 0, 0);
        players[0].lives = 3;
    }
    static void Run(int frames, std::int32_t ms) {
        frameMs = ms;
        for (int i = 0; i < frames; ++i) {
            Now += ms;
            RunPlayFrame();
        }
    }
};

} // namespace

TEST_F(PlayFrame, APushedBlockLandsOneCellOnAndStopsAtAWall) {
    for (const std::int32_t ms : {5, 18, 50, 90}) {
        setCell(2, 1, 2, kBlock);
        setCell(3, 1, 2, 0);
        pushBlock(2, 1, 2, 8192); // east
        Run(3000 / ms + 10, ms);
        EXPECT_EQ(cellAt(3, 1, 2), kBlock) << ms << " ms";
        EXPECT_EQ(cellAt(2, 1, 2), 0) << ms << " ms";
        EXPECT_EQ(slidingBlockCount, -1) << ms << " ms";

        // Against a wall it stays where it is.
        setCell(4, 1, 2, kWall);
        pushBlock(3, 1, 2, 8192);
        Run(3000 / ms + 10, ms);
        EXPECT_EQ(cellAt(3, 1, 2), kBlock) << ms << " ms";
        EXPECT_EQ(cellAt(4, 1, 2), kWall) << ms << " ms";
        setCell(3, 1, 2, 0);
        setCell(4, 1, 2, 0);
    }
}

TEST_F(PlayFrame, AHeroInARefillingHoleDiesWhenTheRefillEndsNotWhenItStarts) {
    ObjectType& refill = DefineType(5);
    GiveMeshes(refill, 3);
    refill.Speed = 0.9f; // 3 frames in 300 ms
    objectTypes[kSoil].RecoverAnim = 5;
    setCell(2, 0, 2, kSoil);
    digHole(2, 0, 2, 10000);
    Run(20, 50); // the dig's transition (no meshes) ends at once
    ASSERT_EQ(cellAt(2, 0, 2), 0);
    // The hero stands in the hole, on the floor below the grid's first row.
    PlayerRecord& p = players[0];
    p.x = 2 * 512 + 256, p.z = 2 * 512 + 256, p.y = 256;
    bool sawRefillPlaying = false;
    for (int i = 0; i < 400 && !p.dead; ++i) {
        Run(1, 50);
        if (ActiveSlots() > 0) {
            sawRefillPlaying = true;
            EXPECT_EQ(p.dead, 0) << "killed while the hole was still refilling";
        }
    }
    EXPECT_TRUE(sawRefillPlaying);
    EXPECT_EQ(p.dead, 1);
    EXPECT_EQ(ActiveSlots(), 0);
    EXPECT_EQ(cellAt(2, 0, 2), kSoil);
}

TEST_F(PlayFrame, FiftyFramesOfFiveSecondsLeaveFiniteNumbers) {
    sentryCount = 1;
    sentries[1].x = 4 * 512 + 256, sentries[1].y = 752, sentries[1].z = 4 * 512 + 256;
    setCell(2, 1, 2, kBlock);
    pushBlock(2, 1, 2, 0);
    players[0].controls[kForward] = 1;
    players[0].controls[kTurnRight] = 1;
    Run(50, 5000);
    const PlayerRecord& p = players[0];
    for (const float v : {p.x, p.y, p.z, p.heading, p.pitch, p.roll, p.light, sentries[1].x,
                          sentries[1].heading, sentries[1].pitch})
        EXPECT_TRUE(std::isfinite(v));
}
