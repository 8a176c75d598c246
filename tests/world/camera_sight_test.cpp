// What a camera may stand in and see through, and the follow camera that
// keeps the hero in sight with it.
#include "world/camera_sight.h"

#include <cmath>

#include <gtest/gtest.h>

#include "world/follow_camera.h"
#include "world/world.h"
#include "world_test_helpers.h"

namespace {

constexpr int kStone = 1, kGlass = 2, kPillar = 3, kLadder = 4, kLava = 5;
constexpr float kStanding = 512 + 240; // a hero's centre on the floor of row 0

float cellMiddle(int cell) {
    return static_cast<float>(cell) * 512 + 256;
}

// A 10 x 4 x 10 grid: a stone floor in row 0, open above; stone, glass, a
// pillar (a 280-unit box in the middle of its cell), a ladder (no collision)
// and lava to place.
class CameraRoomTest : public SmallWorld {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        ASSERT_TRUE(ResizeWorldGrid(10, 4, 10));
        frameMs = 50;
        DefineType(kStone).Cube = 1;
        ObjectType& glass = DefineType(kGlass);
        glass.Cube = 1;
        glass.Transparency = 50;
        ObjectType& pillar = DefineType(kPillar);
        pillar.Xmin = pillar.Zmin = 116;
        pillar.Xmax = pillar.Zmax = 395;
        DefineType(kLadder).Collision = 0;
        ObjectType& lava = DefineType(kLava);
        lava.Cube = 1;
        lava.Collision = 0;
        lava.Death = 1;
        for (int x = 0; x < 10; ++x)
            for (int z = 0; z < 10; ++z) setCell(x, 0, z, kStone);
        world.level.outside = 0;
    }

    CameraRoom room() const { return RoomAround(world, players[0]); }

    // The hero standing in cell (x, 1, z), facing `heading`, seen from `distance`.
    static PlayerRecord& placeHero(int x, int z, float heading, float distance) {
        PlayerRecord& p = players[0];
        p.x = p.followX = p.cameraX = cellMiddle(x);
        p.y = p.followY = p.cameraY = kStanding;
        p.z = p.followZ = p.cameraZ = cellMiddle(z);
        p.heading = heading;
        p.cameraDistance = distance;
        p.cameraPull = 0;
        return p;
    }
    static SightPoint eye() { return {players[0].cameraX, players[0].cameraY, players[0].cameraZ}; }
};

TEST_F(CameraRoomTest, EyesStayOutOfCubesBoxesAndTheVoid) {
    setCell(5, 1, 5, kStone);
    setCell(2, 1, 2, kGlass);
    setCell(7, 1, 7, kPillar);
    setCell(7, 1, 2, kLadder);
    const CameraRoom r = room();
    EXPECT_TRUE(EyeBlocked(r, {cellMiddle(5), cellMiddle(1), cellMiddle(5)}, 0));
    EXPECT_FALSE(EyeBlocked(r, {cellMiddle(4), cellMiddle(1), cellMiddle(5)}, 0));
    // A radius reaches into the next cell.
    EXPECT_TRUE(EyeBlocked(r, {5 * 512 - 20.0f, cellMiddle(1), cellMiddle(5)}, 24));
    EXPECT_FALSE(EyeBlocked(r, {5 * 512 - 30.0f, cellMiddle(1), cellMiddle(5)}, 24));
    // Glass holds the eye but not the sight; a box only where it is.
    EXPECT_TRUE(EyeBlocked(r, {cellMiddle(2), cellMiddle(1), cellMiddle(2)}, 0));
    EXPECT_FALSE(SightBlocked(r, {cellMiddle(2), cellMiddle(1), cellMiddle(2)}));
    EXPECT_TRUE(SightBlocked(r, {cellMiddle(7), cellMiddle(1), cellMiddle(7)}));
    EXPECT_FALSE(EyeBlocked(r, {7 * 512 + 40.0f, cellMiddle(1), cellMiddle(7)}, 24));
    EXPECT_FALSE(EyeBlocked(r, {cellMiddle(7), cellMiddle(1), cellMiddle(2)}, 24));
    // Beside the grid, and above an indoor level's top, lies the void; an
    // outdoor level's sky is open.
    EXPECT_TRUE(EyeBlocked(r, {-10, cellMiddle(1), cellMiddle(5)}, 0));
    EXPECT_TRUE(EyeBlocked(r, {cellMiddle(5), cellMiddle(1), 10 * 512 + 1.0f}, 0));
    EXPECT_TRUE(EyeBlocked(r, {cellMiddle(5), 4 * 512 - 10.0f, cellMiddle(5)}, 24));
    EXPECT_TRUE(EyeBlocked(r, {cellMiddle(5), NAN, cellMiddle(5)}, 0));
    world.level.outside = 1;
    EXPECT_FALSE(EyeBlocked(room(), {cellMiddle(5), 4 * 512 + 900.0f, cellMiddle(5)}, 24));
    world.level.outside = 0;
    // A hero above the top takes the ceiling up with him.
    players[0].y = 4 * 512 + 300;
    EXPECT_FALSE(EyeBlocked(room(), {cellMiddle(5), 4 * 512 + 400.0f, cellMiddle(4)}, 24));
}

TEST_F(CameraRoomTest, TheWayIsClearUpToItsFirstObstruction) {
    setCell(5, 1, 5, kStone);
    const CameraRoom r = room();
    const SightPoint from{cellMiddle(2), cellMiddle(1), cellMiddle(5)};
    const SightPoint past{cellMiddle(8), cellMiddle(1), cellMiddle(5)};
    const SightPoint open{cellMiddle(2), cellMiddle(1), cellMiddle(1)};
    // Up to 24 units before the face at x = 2560: from 1280, 1256 units.
    EXPECT_NEAR(ClearReach(r, from, past, {24, 24, 0}), 2560 - 24 - cellMiddle(2), 1.0f);
    EXPECT_FLOAT_EQ(ClearReach(r, from, open, {24, 24, 0}), 4 * 512);
    // A margin that widens from the start stops earlier.
    EXPECT_LT(ClearReach(r, from, past, {24, 96, 0.5f}), 2560 - 96 - cellMiddle(2) + 1.0f);
    EXPECT_EQ(ClearReach(r, {cellMiddle(5), cellMiddle(1), cellMiddle(5)}, past, {24, 24, 0}), 0);
    EXPECT_FALSE(LineOfSight(r, from, past));
    EXPECT_TRUE(LineOfSight(r, from, open));
}

TEST_F(CameraRoomTest, TheSightCheckTellsInWallFromHidden) {
    setCell(5, 1, 5, kStone);
    PlayerRecord& p = placeHero(3, 5, 0, 1024);
    p.cameraX = cellMiddle(3);
    p.cameraY = kStanding + 300;
    p.cameraZ = cellMiddle(3);
    EXPECT_EQ(CheckCameraSight(world, p), CameraSight::Clear);
    p.cameraX = cellMiddle(5);
    p.cameraZ = cellMiddle(5);
    p.cameraY = cellMiddle(1);
    EXPECT_EQ(CheckCameraSight(world, p), CameraSight::InWall);
    p.cameraX = cellMiddle(7);
    EXPECT_EQ(CheckCameraSight(world, p), CameraSight::Hidden);
    EXPECT_STREQ(CameraSightName(CameraSight::Hidden), "hidden");
}

TEST_F(CameraRoomTest, FirstPersonIsAtTheEyes) {
    PlayerRecord& p = placeHero(4, 4, 5000, 0);
    p.pitch = 1200;
    p.roll = 30;
    PlaceCamera(p);
    EXPECT_FLOAT_EQ(p.cameraY, kStanding + 50);
    EXPECT_EQ(p.cameraX, p.x);
    EXPECT_EQ(p.cameraYaw, 5000);
    EXPECT_EQ(p.cameraPitch, 1200);
    EXPECT_EQ(p.cameraRoll, 30);
    EXPECT_EQ(p.cameraFade, 1);
    EXPECT_EQ(p.followY, p.cameraY); // a follow view starts from there
}

TEST_F(CameraRoomTest, WithTheWayOpenTheEyeIsTheFollowPoint) {
    PlayerRecord& p = placeHero(5, 7, 0, 1024); // facing north, room behind him
    for (int frame = 0; frame < 200; ++frame) PlaceCamera(p);
    EXPECT_FLOAT_EQ(p.cameraX, p.followX);
    EXPECT_FLOAT_EQ(p.cameraY, p.followY);
    EXPECT_FLOAT_EQ(p.cameraZ, p.followZ);
    EXPECT_EQ(p.cameraFade, 0);
    EXPECT_LT(p.cameraZ, p.z - 800); // behind him
    EXPECT_GT(p.cameraY, p.y + 300); // and above
    EXPECT_EQ(CheckCameraSight(world, p), CameraSight::Clear);
}

TEST_F(CameraRoomTest, AWallPassingBehindTheHeroNeverHidesHimNorJumpsTheView) {
    // Columns of stone two rows high at z = 5; the hero walks east along
    // z = 7 facing north-east, the camera behind him to the south-west, so
    // that each column crosses the way from his head to the follow point.
    for (int x = 1; x < 10; x += 2) {
        setCell(x, 1, 5, kStone);
        setCell(x, 2, 5, kStone);
    }
    PlayerRecord& p = placeHero(0, 7, 4096, 1536);
    p.x = 100;
    for (int frame = 0; frame < 60; ++frame) PlaceCamera(p);
    SightPoint last = eye();
    float largestStep = 0, largestPull = 0;
    for (int frame = 0; frame < 180 && p.x < 4700; ++frame) {
        p.x += 25;
        PlaceCamera(p);
        largestPull = std::max(largestPull, p.cameraPull);
        ASSERT_EQ(CheckCameraSight(world, p), CameraSight::Clear) << "frame " << frame;
        const SightPoint now = eye();
        largestStep =
            std::max(largestStep, std::hypot(now.x - last.x, now.y - last.y, now.z - last.z));
        last = now;
    }
    EXPECT_GT(largestPull, 300.0f); // the columns did draw the eye in
    // Eased in and out: never a jump across the way's length.
    EXPECT_LT(largestStep, 250.0f) << largestPull;
}

TEST_F(CameraRoomTest, WithNoRoomBehindTheViewIsTheHerosOwn) {
    // His back to a wall, under a ceiling.
    for (int x = 0; x < 10; ++x) {
        setCell(x, 1, 3, kStone);
        setCell(x, 2, 4, kStone);
    }
    PlayerRecord& p = placeHero(5, 4, 0, 1536);
    p.z = 4 * 512 + 140;
    for (int frame = 0; frame < 40; ++frame) PlaceCamera(p);
    EXPECT_FLOAT_EQ(p.cameraFade, 1);
    EXPECT_NEAR(p.cameraY, p.y + 50, 0.01f);
    EXPECT_NEAR(p.cameraYaw, 0, 0.01f);
    EXPECT_TRUE(EyeInsideFigure(p)); // the figure is not drawn around the eye
    EXPECT_NE(CheckCameraSight(world, p), CameraSight::InWall);
}

TEST_F(CameraRoomTest, AfterADeathInLavaTheCameraStaysAboveIt) {
    for (int x = 3; x < 7; ++x)
        for (int z = 3; z < 7; ++z) setCell(x, 0, z, kLava);
    PlayerRecord& p = placeHero(5, 5, 0, 0);
    for (int frame = 0; frame < 30; ++frame) PlaceCamera(p);
    p.dead = 1;
    p.cameraDistance = 512; // as killPlayer sets it
    for (int frame = 0; frame < 40; ++frame) {
        p.y -= 15; // sinking through the lava
        PlaceCamera(p);
        EXPECT_GT(p.cameraY, 512 + 100) << "frame " << frame;
        EXPECT_GT(p.followY, 512 + 100);
        EXPECT_FALSE(EyeBlocked(room(), eye(), 16));
    }
    EXPECT_LT(p.y, 512); // he is under its top, the camera above
    EXPECT_LT(p.cameraFade, 1);
    // In first person (the last life) the eyes stay above it too.
    p.cameraDistance = 0;
    PlaceCamera(p);
    EXPECT_GT(p.cameraY, 512 + 240);
}

} // namespace
