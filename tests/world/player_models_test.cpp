#include "world/player_models.h"

#include "engine/mesh.h"
#include "world/frame_clock.h"
#include "world/world.h"

#include <gtest/gtest.h>

namespace {

class PoseBlending : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        lastPlayer = 1;
        for (int p = 0; p <= 1; ++p)
            for (int pose = 0; pose < kPoseCount; ++pose) {
                players[p].poses[pose] = MakeMesh(0, 0);
                ASSERT_TRUE(players[p].poses[pose]);
                players[p].poses[pose]->x[0] = pose * 10;
            }
        Now = 1000;
    }
    void TearDown() override { ClearWorldTables(); }

    static int workX(int p) { return players[p].workMesh ? players[p].workMesh->x[0] : -1; }
};

} // namespace

TEST_F(PoseBlending, BlendsTowardsTheNewPoseAndOvershootsWhenLate) {
    PlayerRecord& p = players[0];
    p.pose = 1;
    p.poseBlendMs = 100;
    AnimatePlayerModels(); // the blend restarts now, from the pose seen last
    EXPECT_EQ(workX(0), 0);
    Now = 1050;
    AnimatePlayerModels();
    EXPECT_EQ(workX(0), 5);
    Now = 1150; // t = 1.5 is not capped
    AnimatePlayerModels();
    EXPECT_EQ(workX(0), 15);
    EXPECT_EQ(p.blendFromPose, 1);
    EXPECT_EQ(p.blendStart, 1150);
    Now = 1200;
    AnimatePlayerModels();
    EXPECT_EQ(workX(0), 10);
}

TEST_F(PoseBlending, ZeroBlendTimeJumpsAndBadPosesAreSkipped) {
    players[1].pose = 5;
    players[1].poseBlendMs = 0;
    AnimatePlayerModels();
    EXPECT_EQ(workX(1), 50);
    EXPECT_EQ(players[1].blendFromPose, 5);

    lastPlayer = 0;
    players[1].pose = 3;
    AnimatePlayerModels();
    EXPECT_EQ(workX(1), 50);
    EXPECT_EQ(players[1].lastPose, 5);

    for (int bad : {kPoseCount, -1}) {
        players[0].pose = bad;
        AnimatePlayerModels();
        EXPECT_EQ(workX(0), 0);
    }
}
