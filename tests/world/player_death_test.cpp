#include <gtest/gtest.h>

#include "world/game_services.h"
#include "world/player_death.h"
#include "world/world.h"

namespace {

class PlayerDeath : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ClearWorldEvents();
        localPlayer = 1;
        PlayerRecord& p = players[1];
        p.x = 1000.5f, p.y = 600.4f, p.z = -20.6f;
        p.lives = 2;
        p.cameraDistance = 1800;
        p.walkPhase = 3.5f;
        p.pose = 1;
    }
    void TearDown() override {
        ClearWorldTables();
        ClearWorldEvents();
    }

    int countOf(WorldEventKind kind) {
        int n = 0;
        for (const WorldEvent& e : RecentWorldEvents()) n += e.kind == kind;
        return n;
    }
};

TEST_F(PlayerDeath, StartsTheDeathOfTheLocalPlayerOnce) {
    killPlayer();
    const PlayerRecord& p = players[1];
    EXPECT_EQ(p.dead, 1);
    EXPECT_EQ(p.busyMs, 2000);
    EXPECT_EQ(p.lightTarget, 0);
    EXPECT_EQ(p.savedCameraDistance, 1800);
    EXPECT_EQ(p.cameraDistance, 512);
    EXPECT_EQ(p.walkPhase, 0);
    EXPECT_EQ(p.pose, kPoseDead);
    EXPECT_EQ(p.poseBlendMs, 700);
    EXPECT_EQ(players[0].dead, 0);

    ASSERT_EQ(RecentWorldEvents().size(), 2u);
    const WorldEvent& kill = RecentWorldEvents()[0];
    const WorldEvent& sound = RecentWorldEvents()[1];
    EXPECT_EQ(kill.kind, WorldEventKind::Kill);
    EXPECT_EQ(sound.kind, WorldEventKind::Sound);
    EXPECT_EQ(sound.value, 254);
    // Rounded to nearest, halves to even.
    EXPECT_EQ(sound.x, 1000);
    EXPECT_EQ(sound.y, 600);
    EXPECT_EQ(sound.z, -21);
    EXPECT_EQ(countOf(WorldEventKind::LevelEnd), 0);

    // A second death while dead changes nothing, not even the saved distance.
    players[1].busyMs = 500;
    killPlayer();
    EXPECT_EQ(RecentWorldEvents().size(), 2u);
    EXPECT_EQ(p.savedCameraDistance, 1800);
    EXPECT_EQ(p.busyMs, 500);
}

TEST_F(PlayerDeath, WithoutLivesTheLevelIsLostAtOnce) {
    players[1].lives = 0;
    killPlayer();
    EXPECT_EQ(players[1].dead, 1);
    EXPECT_EQ(players[1].cameraDistance, 1800);
    ASSERT_EQ(countOf(WorldEventKind::LevelEnd), 1);
    EXPECT_EQ(RecentWorldEvents().back().kind, WorldEventKind::LevelEnd);
    EXPECT_EQ(RecentWorldEvents().back().value, kLevelLost);
    killPlayer();
    EXPECT_EQ(countOf(WorldEventKind::LevelEnd), 1);
}

} // namespace
