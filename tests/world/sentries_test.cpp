#include <algorithm>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "world/aim_angles.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world/random.h"
#include "world/sentries.h"
#include "world/sentry_init.h"
#include "world/world.h"

namespace {

constexpr int kLadder = 3, kIngot = 4, kGlass = 5, kWall = 6, kUndefined = 7;

float centreOf(int cell) {
    return static_cast<float>(cell * 512 + 256);
}

int soundCount() {
    int n = 0;
    for (const WorldEvent& e : RecentWorldEvents())
        if (e.kind == WorldEventKind::Sound && e.value == 255) ++n;
    return n;
}

// A 16 x 6 x 16 box of empty cells with a ladder, an ingot, a glass pane
// and a wall type defined, and sentry 1 at the centre of cell (2, 1, 2)
// facing +z, fresh from the level start.
class Sentries : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(16, 6, 16));
        ClearWorldEvents();
        objectTypes[kLadder].undefined = 0;
        objectTypes[kLadder].Ladder = 1;
        objectTypes[kIngot].undefined = 0;
        objectTypes[kIngot].Lingot = 1;
        objectTypes[kGlass].undefined = 0;
        objectTypes[kGlass].Collision = 0;
        objectTypes[kWall].undefined = 0;
        frameMs = 90;
        Now = 100000;
        levelState.randomSeed = 7;
        sentryCount = 1;
        placeSentry(2, 1, 2, 0);
        InitSentries();
        placePlayer(0, 15, 1, 15); // out of sight
    }
    void TearDown() override {
        ClearWorldTables();
        ClearWorldEvents();
    }

    SentryRecord& sentry() { return sentries[1]; }

    void placeSentry(int cx, int cy, int cz, float heading) {
        SentryRecord& e = sentries[1];
        e.x = centreOf(cx), e.y = centreOf(cy), e.z = centreOf(cz);
        e.cellX = cx, e.cellY = cy, e.cellZ = cz;
        e.heading = e.headingTarget = heading;
    }
    void placePlayer(int p, int cx, int cy, int cz) {
        players[p].x = centreOf(cx), players[p].y = centreOf(cy), players[p].z = centreOf(cz);
    }
};

TEST_F(Sentries, SightReachesSevenCellsAndNoFarther) {
    placePlayer(0, 2, 1, 9);
    EXPECT_TRUE(SentrySeesPlayer(sentry(), 0));
    placePlayer(0, 2, 1, 10);
    EXPECT_FALSE(SentrySeesPlayer(sentry(), 0));
    // Diagonals count their largest difference.
    EXPECT_TRUE(lineOfSight(2, 1, 2, 9, 4, 8));
    EXPECT_FALSE(lineOfSight(2, 1, 2, 10, 1, 3));
    // Points far outside the grid neither overflow nor are seen.
    EXPECT_FALSE(lineOfSight(-2147483647 - 1, 0, 0, 2147483647, 0, 0));
    EXPECT_FALSE(SentrySeesPlayer(sentry(), -1));
    EXPECT_FALSE(SentrySeesPlayer(sentry(), kPlayerCount));
}

TEST_F(Sentries, LaddersIngotsAndEmptyTypesLetSightThroughAnyOtherTypeBlocks) {
    placePlayer(0, 2, 1, 7);
    for (int type : {kLadder, kIngot, kUndefined}) {
        setCell(2, 1, 5, type);
        EXPECT_TRUE(SentrySeesPlayer(sentry(), 0)) << type;
    }
    for (int type : {kGlass, kWall}) {
        setCell(2, 1, 5, type);
        EXPECT_FALSE(SentrySeesPlayer(sentry(), 0)) << type;
    }
    // The cells on the line are the rounded quotients, halves to even: from
    // (2, 2) to (3, 4) in x and z the middle cell is x 2 + 0.5 -> 2.
    setCell(2, 1, 5, 0);
    setCell(3, 1, 3, kWall);
    EXPECT_TRUE(lineOfSight(2, 1, 2, 3, 1, 4));
    setCell(2, 1, 3, kWall);
    EXPECT_FALSE(lineOfSight(2, 1, 2, 3, 1, 4));
    // Going the other way, -0.5 -> 0 as well: the wall at x 2 is not on the line.
    setCell(3, 1, 3, 0);
    EXPECT_TRUE(lineOfSight(3, 1, 2, 2, 1, 4));
    setCell(3, 1, 3, kWall);
    EXPECT_FALSE(lineOfSight(3, 1, 2, 2, 1, 4));
    // Next to each other nothing is looked at.
    EXPECT_TRUE(lineOfSight(3, 1, 3, 3, 1, 4));
}

TEST_F(Sentries, OnlyPlayersInFrontAreSeen) {
    placeSentry(2, 1, 9, 0); // facing +z
    placePlayer(0, 2, 1, 4);
    EXPECT_FALSE(SentrySeesPlayer(sentry(), 0));
    sentry().heading = -16384; // facing -z: yaw 16384, stored negated
    EXPECT_TRUE(SentrySeesPlayer(sentry(), 0));
    sentry().heading = -8192; // facing +x: the player is 90 degrees aside
    EXPECT_FALSE(SentrySeesPlayer(sentry(), 0));
    sentry().heading = -16384 + 3000; // about 33 degrees aside
    EXPECT_TRUE(SentrySeesPlayer(sentry(), 0));
}

TEST_F(Sentries, ChasingPitchesTowardsThePlayerAndSightAddsThatPitch) {
    placePlayer(0, 2, 3, 4); // two cells up, two ahead: 45 degrees above
    EXPECT_TRUE(SentrySeesPlayer(sentry(), 0));
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 0);
    // The pitch keeps the aim's sign: positive when the player is higher.
    EXPECT_NEAR(sentry().pitch, 4096.0f, 2.0f);
    EXPECT_EQ(sentry().pitchTarget, sentry().pitch);
    // With its own pitch added, a player 45 degrees up falls out of the
    // pitch test once the sentry looks up at him (sight pitch 90 degrees)...
    EXPECT_FALSE(SentrySeesPlayer(sentry(), 0));
    // ...and is seen squarely by a sentry pitched the other way.
    sentry().pitch = -4096;
    EXPECT_TRUE(SentrySeesPlayer(sentry(), 0));
}

TEST_F(Sentries, SeeingThePlayerAtLevelStartChasesWithoutASound) {
    placePlayer(0, 3, 1, 8);
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 0);
    EXPECT_EQ(soundCount(), 0);
    EXPECT_EQ(sentry().targetX, players[0].x);
    EXPECT_EQ(sentry().targetZ, players[0].z);
    const AimAngles aim =
        aimAngles(sentry().x, sentry().y, sentry().z, players[0].x, players[0].y, players[0].z);
    EXPECT_EQ(sentry().heading, -aim.yaw);
    EXPECT_EQ(sentry().headingTarget, sentry().heading);
    // Still in sight after the silent start: no sound, it never stopped chasing.
    Now += 5000;
    updateSentryAwareness();
    EXPECT_EQ(soundCount(), 0);
    // Losing him within the first seconds is silent too.
    Now -= 5000;
    placePlayer(0, 15, 1, 15);
    Now += 2500;
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 1);
    EXPECT_EQ(soundCount(), 0);
}

TEST_F(Sentries, SeenAndLostSoundsKeepASecondApartAcrossTheTickWrap) {
    Now = 2147483647 - 1000;
    InitSentries();
    sentry().state = 3;
    placePlayer(0, 2, 1, 6);
    Now = TickAfter(Now, 3001); // past the silent start, after the wrap
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 0);
    ASSERT_EQ(soundCount(), 1);
    EXPECT_EQ(RecentWorldEvents().back().x, static_cast<int>(sentry().x));
    EXPECT_EQ(sentry().soundState, 0);

    placePlayer(0, 15, 1, 15);
    Now = TickAfter(Now, 500);
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 1);
    EXPECT_EQ(soundCount(), 1); // too soon for the lost sound

    placePlayer(0, 2, 1, 6);
    Now = TickAfter(Now, 600);
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 0);
    EXPECT_EQ(soundCount(), 1); // the seen sound was the last one played

    placePlayer(0, 15, 1, 15);
    updateSentryAwareness();
    EXPECT_EQ(soundCount(), 2);
    EXPECT_EQ(sentry().soundState, 1);
}

TEST_F(Sentries, WithTwoPlayersTheSentryChasesTheOneItSees) {
    lastPlayer = 1;
    placePlayer(0, 2, 1, 0); // behind
    placePlayer(1, 2, 1, 6); // ahead
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 0);
    EXPECT_EQ(sentry().targetPlayer, 1);
    EXPECT_EQ(sentry().targetZ, players[1].z);

    // Player 0 steps in front while player 1 leaves: the target follows the
    // one in sight, and seeing the first player alone still means chasing.
    placeSentry(2, 1, 2, 0);
    placePlayer(0, 2, 1, 5);
    placePlayer(1, 15, 1, 15);
    updateSentryAwareness();
    EXPECT_EQ(sentry().state, 0);
    EXPECT_EQ(sentry().targetPlayer, 0);
    EXPECT_EQ(sentry().targetZ, players[0].z);
}

TEST_F(Sentries, LostLookAroundAndRoamMoveOnWhenStuckOrArrived) {
    placePlayer(0, 15, 5, 15);
    SentryRecord& e = sentry();
    e.state = 1;
    e.targetZ = e.z + 500;
    updateSentryAwareness();
    EXPECT_EQ(e.state, 1); // far from its target and moving
    e.stuck = 1;
    frameMs = 0;
    updateSentryAwareness();
    EXPECT_EQ(e.state, 1); // a frame without time decides nothing
    frameMs = 90;
    e.stuck = 0;
    e.targetZ = e.z + 9;
    updateSentryAwareness();
    EXPECT_EQ(e.state, 2);

    // Looking around: turns on the spot until a draw of 20 in 50.
    const float heading = e.headingTarget;
    int frames = 0;
    while (e.state == 2 && frames < 1000) {
        updateSentryAwareness();
        ++frames;
        EXPECT_EQ(e.targetZ, e.z);
    }
    ASSERT_EQ(e.state, 3);
    EXPECT_FLOAT_EQ(e.headingTarget - heading, 800.0f * static_cast<float>(frames));

    // Roaming: a new cell corner of the grid once stuck.
    e.stuck = 1;
    for (int i = 0; i < 20; ++i) {
        updateSentryAwareness();
        EXPECT_EQ(e.state, 3);
        EXPECT_EQ(std::fmod(e.targetX, 512.0f), 0.0f);
        EXPECT_GE(e.targetY, 0.0f);
        EXPECT_LT(e.targetY, 6.0f * 512.0f);
        const AimAngles aim = aimAngles(e.x, e.y, e.z, e.targetX, e.targetY, e.targetZ);
        EXPECT_EQ(e.headingTarget, -aim.yaw);
        EXPECT_EQ(e.pitch, aim.pitch);
    }
}

TEST_F(Sentries, LookingAroundLastsAlikeAtEveryFrameTimeWithOneDrawPerFrame) {
    SentryRecord& e = sentry();
    // At 90 ms it ends on exactly the frames where Random(50) draws 20.
    for (int frame = 0; frame < 3000; ++frame) {
        e.state = 2;
        const std::uint32_t seed = RandomSeedValue();
        SeedRandom(seed);
        const bool ends = RandomInt(50) == 20;
        SeedRandom(seed);
        updateSentryAwareness();
        ASSERT_EQ(e.state == 3, ends) << frame;
    }
    // At any frame time: one draw per frame, and about 4.5 s of looking
    // around before it roams (200 ends in 900 s of play).
    for (int ms : {5, 20, 50, 90}) {
        frameMs = ms;
        std::uint32_t expectedSeed = RandomSeedValue();
        int ends = 0;
        for (int frame = 0; frame < 900000 / ms; ++frame) {
            e.state = 2;
            updateSentryAwareness();
            expectedSeed = expectedSeed * 134775813u + 1u;
            if (e.state == 3) ++ends;
        }
        EXPECT_EQ(RandomSeedValue(), expectedSeed) << ms;
        EXPECT_GT(ends, 160) << ms;
        EXPECT_LT(ends, 240) << ms;
    }
}

TEST_F(Sentries, ChasersMoveAtSixtyRoamersAtFortyPerNinetyMs) {
    SentryRecord& e = sentry();
    const float z0 = e.z;
    e.targetZ = z0 + 20000; // t = 4001: the step is 4000/4001 of the speed
    e.state = 0;
    updateSentries();
    EXPECT_NEAR(e.z - z0, 60.0f, 0.05f);
    EXPECT_EQ(e.x, centreOf(2));

    e.z = z0;
    e.state = 3;
    frameMs = 45;
    updateSentries();
    EXPECT_NEAR(e.z - z0, 20.0f, 0.05f);

    // Close to its target it slows down but still moves: not stuck; on its
    // target it cannot move: stuck.
    e.z = z0;
    e.targetZ = z0 + 100;
    frameMs = 90;
    updateSentries();
    EXPECT_EQ(e.stuck, 0);
    e.targetZ = e.z;
    updateSentries();
    EXPECT_EQ(e.stuck, 1);
    // Stuck means a step under a tenth of t per 90 ms, whatever the frame's
    // length: 1000 units away t is 201 and a roamer goes 39.8 per 90 ms, 3000
    // units away t is 601 and it still goes only 40 (a far corner behind a
    // wall is given up as soon as it is picked).
    for (int ms : {5, 45, 90}) {
        frameMs = ms;
        e.targetZ = e.z + 1000;
        updateSentries();
        EXPECT_EQ(e.stuck, 0) << ms;
        e.targetZ = e.z + 3000;
        updateSentries();
        EXPECT_EQ(e.stuck, 1) << ms;
    }
}

TEST_F(Sentries, LongFramesStopOnTheTargetInsteadOfCirclingIt) {
    // At 90 ms a roamer 15 units short of its target would step 30 and land
    // 15 beyond it, then 15 short again, never arriving and never roaming on.
    SentryRecord& e = sentry();
    e.state = 3;
    const float target = e.z + 15;
    e.targetZ = target;
    updateSentries();
    EXPECT_EQ(e.z, target);
    EXPECT_EQ(e.stuck, 0);
    updateSentryAwareness();
    EXPECT_NE(e.targetZ, target); // arrived: a new corner
    // Far from the target the step is the full one.
    e.targetX = e.x - 20000;
    e.targetY = e.y;
    e.targetZ = e.z;
    const float x0 = e.x;
    updateSentries();
    EXPECT_NEAR(x0 - e.x, 40.0f, 0.05f);
}

TEST_F(Sentries, RoamersInAWalledRoomKeepPickingCornersAtEveryFrameTime) {
    // A room two cells high: the random corners lie in the walls, the floor
    // and the ceiling, so the sentry often ends pressed against one. At 5 ms
    // the short steps against a ceiling bounce it a unit to and fro, which
    // must still count as stuck, or it would hang there for good.
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 6; ++y)
            for (int z = 0; z < 16; ++z)
                if (y == 0 || y >= 3 || x == 0 || x == 15 || z == 0 || z == 15)
                    setCell(x, y, z, kWall);
    for (int ms : {5, 20, 50, 90}) {
        frameMs = ms;
        SeedRandom(7);
        SentryRecord& e = sentry();
        placeSentry(2, 1, 2, 0);
        e.state = 3;
        e.stuck = 1;
        int longest = 0, sinceNewTarget = 0;
        float lastTargetX = -1, lastTargetY = -1, lastTargetZ = -1;
        for (int time = 0; time < 600000; time += ms) {
            updateSentryAwareness();
            updateSentries();
            if (e.targetX != lastTargetX || e.targetY != lastTargetY || e.targetZ != lastTargetZ)
                sinceNewTarget = 0;
            else
                sinceNewTarget += ms;
            longest = std::max(longest, sinceNewTarget);
            lastTargetX = e.targetX, lastTargetY = e.targetY, lastTargetZ = e.targetZ;
        }
        EXPECT_EQ(e.state, 3) << ms;
        EXPECT_LT(longest, 30000) << ms;
    }
}

TEST_F(Sentries, TurningNeverOvershootsOnLongFrames) {
    SentryRecord& e = sentry();
    e.headingTarget = -10000;
    e.pitchTarget = 2000;
    frameMs = 45;
    updateSentries();
    EXPECT_FLOAT_EQ(e.heading, -1000.0f); // a tenth of the gap in half of 90 ms
    for (int ms : {450, 900}) {
        e.heading = 0;
        e.pitch = 0;
        frameMs = ms;
        updateSentries();
        EXPECT_FLOAT_EQ(e.heading, -10000.0f);
        EXPECT_FLOAT_EQ(e.pitch, 2000.0f);
    }
}

TEST_F(Sentries, TouchUsesHalfTheSummedSizes) {
    SentryRecord& e = sentry();
    PlayerRecord& p = players[0];
    const auto touchesAt = [&](float dx, float dy, float dz) {
        p.x = e.x + dx, p.y = e.y + dy, p.z = e.z + dz;
        return SentryTouchesLocalPlayer();
    };
    // Player 480 high and 260 wide, sentry 480 high (half 240) and 130 wide.
    EXPECT_TRUE(touchesAt(0, 359.9f, 0));
    EXPECT_FALSE(touchesAt(0, -360, 0));
    EXPECT_TRUE(touchesAt(-194.5f, 0, 194.5f));
    EXPECT_FALSE(touchesAt(195, 0, 0));
    EXPECT_FALSE(touchesAt(0, 0, -195));
    EXPECT_FALSE(touchesAt(NAN, NAN, NAN));
    // The local player is the one tested.
    localPlayer = 2;
    players[2].x = e.x, players[2].y = e.y, players[2].z = e.z;
    EXPECT_TRUE(SentryTouchesLocalPlayer());
    sentryCount = 0;
    EXPECT_FALSE(SentryTouchesLocalPlayer());
}

TEST_F(Sentries, LongFramesKeepEveryValueFinite) {
    sentryCount = 4;
    for (int i = 2; i <= 4; ++i) {
        sentries[i] = sentries[1];
        sentries[i].z += static_cast<float>(i * 1000);
        sentries[i].heading = static_cast<float>(i * 5000);
    }
    InitSentries();
    sentries[2].state = 2;
    sentries[3].state = 3;
    lastPlayer = 1;
    placePlayer(1, 2, 1, 8);
    frameMs = 5000;
    for (int frame = 0; frame < 50; ++frame) {
        Now = TickAfter(Now, 5000);
        updateSentryAwareness();
        updateSentries();
        for (int i = 1; i <= 4; ++i) {
            const SentryRecord& e = sentries[i];
            ASSERT_TRUE(std::isfinite(e.heading) && std::isfinite(e.pitch)) << i;
            ASSERT_TRUE(std::isfinite(e.x) && std::isfinite(e.y) && std::isfinite(e.z)) << i;
            ASSERT_TRUE(std::isfinite(e.headingTarget)) << i;
        }
    }
}

} // namespace
