#include <cmath>
#include <vector>

#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/level_start.h"
#include "world/player_motion.h"
#include "world/world.h"

#include <gtest/gtest.h>

namespace {

constexpr int kFloor = 1;
constexpr float kStanding = 512 + 240; // a player's centre when he stands on row 0

// Stand-ins for the hero's sounds: only their addresses are compared.
char hurtTag, stepTag;
TSoundBuffer* const kHurt = reinterpret_cast<TSoundBuffer*>(&hurtTag);
TSoundBuffer* const kStepSound = reinterpret_cast<TSoundBuffer*>(&stepTag);

// A 6 x 6 x 6 grid with a floor of cubes in row 0; the local player stands
// on it in cell (2, 1, 2), the exit is far away.
class PlayerMotion : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(6, 6, 6));
        objectTypes[kFloor].undefined = 0;
        for (int x = 0; x < 6; ++x)
            for (int z = 0; z < 6; ++z) setCell(x, 0, z, kFloor);
        levelState.exitX = levelState.exitY = levelState.exitZ = 5;
        ResetPlayersForLevel(2, 1, 2, 0);
        for (PlayerRecord& p : players) {
            p.y = kStanding;
            p.hurtSound = kHurt;
            p.stepSound = kStepSound;
        }
        gameServices = GameServices{};
        gameServices.playSound = [this](std::int32_t, std::int32_t, std::int32_t,
                                        TSoundBuffer* sound,
                                        std::int32_t) { sounds.push_back(sound); };
        ClearWorldEvents();
        frameMs = 50;
    }
    void TearDown() override {
        gameServices = GameServices{};
        ClearWorldEvents();
        ClearWorldTables();
        levelState = LevelState{};
        frameMs = 1;
    }
    static int Count(WorldEventKind kind) {
        int n = 0;
        for (const WorldEvent& e : RecentWorldEvents()) n += e.kind == kind;
        return n;
    }
    std::vector<TSoundBuffer*> sounds;
};

TEST_F(PlayerMotion, NeverFallsThroughTheFloorAtAnyFrameTime) {
    for (int ms : {1, 50, 90, 500}) {
        frameMs = ms;
        PlayerRecord& p = players[0];
        p.y = 5 * 512;
        p.fallSpeed = 0;
        p.onGround = 0;
        const int frames = ms == 1 ? 3000 : 400;
        for (int i = 0; i < frames; ++i) {
            MovePlayers();
            ASSERT_GE(p.y, kStanding - 1) << ms << " ms, frame " << i;
        }
        EXPECT_NEAR(p.y, kStanding, 1.0f) << ms;
        EXPECT_EQ(p.onGround, 1) << ms;
    }
}

TEST_F(PlayerMotion, LandingHurtsAboveSpeed200AndIsHeardAbove50) {
    PlayerRecord& p = players[0];
    p.y = kStanding + 5;
    p.fallSpeed = -300;
    MovePlayers();
    const float landed = -300 - 24.0f * 50 / 90;
    EXPECT_EQ(p.busyMs, static_cast<int>(std::lround(-landed)));
    EXPECT_EQ(p.pose, kPoseCrouch);
    EXPECT_EQ(p.poseBlendMs, 300);
    EXPECT_EQ(p.fallSpeed, 0);
    EXPECT_EQ(p.onGround, 1);
    ASSERT_EQ(sounds, std::vector<TSoundBuffer*>{kHurt});
    const WorldEvent& hurt = RecentWorldEvents().back();
    EXPECT_EQ(hurt.kind, WorldEventKind::Sound);
    EXPECT_EQ(hurt.value, 254);
    EXPECT_EQ((std::array{hurt.x, hurt.y, hurt.z}), (std::array{1280, 752, 1280}));

    sounds.clear();
    p = PlayerRecord{};
    p.x = p.z = 1280, p.y = kStanding + 5, p.stepSound = kStepSound, p.hurtSound = kHurt;
    p.fallSpeed = -100;
    MovePlayers();
    EXPECT_EQ(sounds, std::vector<TSoundBuffer*>{kStepSound});
    EXPECT_EQ(p.busyMs, 0);
    EXPECT_EQ(p.pose, kPoseStand);

    // A soft landing is silent.
    sounds.clear();
    p.y = kStanding + 5;
    p.fallSpeed = -30;
    MovePlayers();
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(p.fallSpeed, 0);
}

TEST_F(PlayerMotion, KillTestFindsDeathAndDigShapesAtTheFeet) {
    PlayerRecord& p = players[0];
    objectTypes[2].undefined = 0; // a plain block, no harm
    objectTypes[3].undefined = 0, objectTypes[3].Death = 1;
    objectTypes[4].undefined = 0, objectTypes[4].Dig = 1;
    objectTypes[5].undefined = 0, objectTypes[5].Death = 1;
    objectTypes[5].Ymax1 = objectTypes[5].Ymax2 = objectTypes[5].Ymax3 = objectTypes[5].Ymax4 = 2;
    EXPECT_FALSE(FeetInDeadlyShape(p)); // empty cell
    for (int type : {2, 3, 4, 5}) {
        setCell(2, 1, 2, type);
        // Type 5 is a low plate: the feet point is 5 units above the soles.
        EXPECT_EQ(FeetInDeadlyShape(p), type == 3 || type == 4) << type;
    }
    objectTypes[3].undefined = 1; // a type the file does not define is empty air
    setCell(2, 1, 2, 3);
    EXPECT_FALSE(FeetInDeadlyShape(p));
}

TEST_F(PlayerMotion, TheExitEndsTheLevelOnceAndNotDuringATransition) {
    levelState.exitX = levelState.exitZ = 2, levelState.exitY = 1;
    bool transition = true;
    gameServices.transitionActive = [&] { return transition; };
    MovePlayers();
    EXPECT_EQ(Count(WorldEventKind::LevelEnd), 0);

    transition = false;
    for (int i = 0; i < 5; ++i) MovePlayers();
    ASSERT_EQ(Count(WorldEventKind::LevelEnd), 1);
    EXPECT_EQ(RecentWorldEvents().back().value, kLevelCompleted);

    // The next level start lets its exit count again.
    ResetPlayersForLevel(2, 1, 2, 0);
    players[0].y = kStanding;
    MovePlayers();
    EXPECT_EQ(Count(WorldEventKind::LevelEnd), 2);
}

// The kill test comes first, then the exit test of the same frame: a kill
// that leaves lives starts nothing, so the exit still wins; the last life's
// kill has started the level's end, and the exit no longer counts.
TEST_F(PlayerMotion, AKillOnTheExitWinsWithLivesLeftAndLosesWithoutThem) {
    objectTypes[3].undefined = 0, objectTypes[3].Death = 1;
    levelState.exitX = levelState.exitZ = 2, levelState.exitY = 1;
    setCell(2, 1, 2, 3);
    bool levelEnding = false;
    gameServices.endLevel = [&](LevelEnd) { levelEnding = true; };
    gameServices.transitionActive = [&] { return levelEnding; };
    for (const int lives : {2, 0}) {
        ClearWorldEvents();
        world.wonFrame = -1;
        levelEnding = false;
        ResetPlayersForLevel(2, 1, 2, 0);
        players[0].y = kStanding;
        players[0].lives = lives;
        MovePlayers();
        ASSERT_EQ(players[0].dead, 1) << lives;
        ASSERT_EQ(Count(WorldEventKind::LevelEnd), 1) << lives;
        EXPECT_EQ(RecentWorldEvents().back().value, lives > 0 ? kLevelCompleted : kLevelLost);
        EXPECT_EQ(world.wonFrame >= 0, lives > 0) << lives;
    }
}

TEST_F(PlayerMotion, LongFramesNeverOvershootOrTurnVelocitiesRound) {
    PlayerRecord& p = players[0];
    for (int ms : {450, 900, 5000}) {
        frameMs = ms;
        p.pitch = 0, p.pitchTarget = 1000;
        p.roll = 500, p.rollTarget = -200;
        p.vx = 100, p.vz = -100, p.turnRate = 300;
        MovePlayers();
        EXPECT_EQ(p.pitch, 1000) << ms;
        EXPECT_EQ(p.roll, -200) << ms;
        EXPECT_EQ(p.vx, 0) << ms;
        EXPECT_EQ(p.vz, 0) << ms;
        EXPECT_EQ(p.turnRate, 0) << ms;
    }
    // One 90 ms frame halves a velocity and relaxes a fifth of the way.
    frameMs = 90;
    p.vx = 100, p.pitch = 0, p.pitchTarget = 1000;
    MovePlayers();
    EXPECT_FLOAT_EQ(p.vx, 50);
    EXPECT_FLOAT_EQ(p.pitch, 200);
}

TEST_F(PlayerMotion, FiftyFramesOf5000MsStayFinite) {
    lastPlayer = 1;
    players[1].x = players[1].z = 3000;
    for (PlayerRecord& p : players) p.vx = 400, p.vy = 300, p.vz = -400, p.turnRate = 9000;
    frameMs = 5000;
    for (int i = 0; i < 50; ++i) MovePlayers();
    for (int i = 0; i <= lastPlayer; ++i) {
        const PlayerRecord& p = players[i];
        for (float v : {p.x, p.y, p.z, p.heading, p.pitch, p.roll, p.vx, p.vy, p.vz, p.fallSpeed})
            EXPECT_TRUE(std::isfinite(v)) << i;
        EXPECT_GE(p.y, kStanding - 1);
    }
}

TEST_F(PlayerMotion, LeavesTheLadderAtItsTopAndMovesEveryPlayerInUse) {
    objectTypes[6].undefined = 0, objectTypes[6].Ladder = 1, objectTypes[6].Collision = 0;
    PlayerRecord& p = players[0];
    p.y = 2 * 512 + 300;
    p.onLadder = 1, p.fallSpeed = -40, p.ladderOffsetX = 130;
    setCell(2, 2, 2, 6);
    MovePlayers();
    EXPECT_EQ(p.onLadder, 1);
    EXPECT_EQ(p.fallSpeed, 0);
    EXPECT_EQ(p.x, 1280);

    setCell(2, 2, 2, 0);
    MovePlayers();
    EXPECT_EQ(p.onLadder, 0);
    EXPECT_FLOAT_EQ(p.fallSpeed, 102.4f);
    EXPECT_EQ(p.x, 1280 + 130);

    // Remote players move too, but get no gravity here; records past
    // lastPlayer stay still.
    lastPlayer = 1;
    players[1].vx = players[2].vx = 90;
    players[1].y = players[2].y = 3 * 512;
    MovePlayers();
    EXPECT_FLOAT_EQ(players[1].x, 1280 + 50);
    EXPECT_EQ(players[1].y, 3 * 512);
    EXPECT_EQ(players[2].x, 1280);
}

TEST_F(PlayerMotion, NothingMovesWhileTheMenuIsOpen) {
    inGameMenu.open = 1;
    players[0].vx = 90, players[0].y = 3 * 512;
    MovePlayers();
    EXPECT_EQ(players[0].x, 1280);
    EXPECT_EQ(players[0].y, 3 * 512);
    inGameMenu.open = 0;
}

} // namespace
