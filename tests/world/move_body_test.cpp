#include <algorithm>

#include "world/movement.h"
#include "world/world.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 260, kHeight = 480, kStep = 256; // a player's body
constexpr int kHw = kWidth / 2, kHh = kHeight / 2;
constexpr float kStanding = 512 + kHh; // feet on the floor cubes of row 0
constexpr int kFloor = 1;

// An 8 x 4 x 8 grid whose row 0 is solid cubes.
class MoveBody : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(8, 4, 8));
        objectTypes[kFloor].undefined = 0;
        for (int x = 0; x < 8; ++x)
            for (int z = 0; z < 8; ++z) setCell(x, 0, z, kFloor);
    }
    void TearDown() override { ClearWorldTables(); }

    static ObjectType& Define(int index, int xmin, int xmax, int zmin, int zmax, int ymin,
                              std::array<int, 4> tops) {
        ObjectType& t = objectTypes[index];
        t.undefined = 0;
        t.Xmin = xmin, t.Xmax = xmax, t.Zmin = zmin, t.Zmax = zmax, t.Ymin = ymin;
        t.Ymax1 = tops[0], t.Ymax2 = tops[1], t.Ymax3 = tops[2], t.Ymax4 = tops[3];
        return t;
    }
    static bool Move(float& x, float& y, float& z, float vx, float vy, float vz) {
        return moveBody(x, y, z, vx, vy, vz, kWidth, kHeight, kStep);
    }
};

TEST_F(MoveBody, ClimbsAStepOf200AndStopsAtOneOf300) {
    Define(2, 0, 511, 0, 511, 0, {200, 200, 200, 200});
    Define(3, 0, 511, 0, 511, 0, {300, 300, 300, 300});
    setCell(3, 1, 2, 2);
    setCell(3, 1, 5, 3);
    for (int row : {2, 5}) {
        float x = 1336, y = kStanding, z = row * 512.0f + 256;
        for (int i = 0; i < 12; ++i) Move(x, y, z, 40, -10, 0);
        if (row == 2) {
            EXPECT_EQ(x, 1336 + 12 * 40);
            EXPECT_NEAR(y - kHh, 512 + 200 + 1, 1.0f); // standing on the step
        } else {
            EXPECT_LT(x + kHw, 3 * 512);
            EXPECT_GE(x + kHw, 3 * 512 - 40); // at most one step short
            EXPECT_EQ(y, kStanding);
        }
    }
}

TEST_F(MoveBody, AThinWallStopsTheBodyAtItsFaceAtEveryStepSize) {
    constexpr int kWall = 4, kFace = 3 * 512 + 200, kBack = 3 * 512 + 216;
    Define(kWall, 200, 216, 0, 511, 0, {511, 511, 511, 511});
    setCell(3, 1, 2, kWall);
    const float z0 = 2 * 512 + 256, y0 = kStanding;

    // Walking slowly: the body ends at most one step before the face.
    float x = 1000, y = y0, z = z0;
    for (int i = 0; i < 60; ++i) Move(x, y, z, 30, 0, 0);
    EXPECT_LT(x + kHw, kFace);
    EXPECT_GE(x + kHw, kFace - 30);

    // One big step from many places, the leading face in the body's own
    // column, in the next one or two columns short of the destination.
    for (float face = kFace - 1000; face < kFace; face += 37) {
        float bx = face - kHw, by = y0, bz = z0;
        Move(bx, by, bz, 510, 0, 0);
        const float end = face + 510;
        if (end < kFace)
            EXPECT_FLOAT_EQ(bx + kHw, end) << face;
        else if (end <= kBack)
            EXPECT_FLOAT_EQ(bx + kHw, face) << face; // ends inside: refused
        else
            EXPECT_FLOAT_EQ(bx + kHw, kFace - 1) << face;
    }
    // The same from behind.
    for (float face = kBack + 1000; face > kBack; face -= 37) {
        float bx = face + kHw, by = y0, bz = z0;
        Move(bx, by, bz, -510, 0, 0);
        const float end = face - 510;
        if (end > kBack)
            EXPECT_FLOAT_EQ(bx - kHw, end) << face;
        else if (end >= kFace)
            EXPECT_FLOAT_EQ(bx - kHw, face) << face;
        else
            EXPECT_FLOAT_EQ(bx - kHw, kBack + 1) << face;
    }
}

TEST_F(MoveBody, AThinWallAcrossZStopsTheBodyThroughTheLeadingFaceColumn) {
    Define(4, 0, 511, 200, 216, 0, {511, 511, 511, 511});
    setCell(2, 1, 3, 4);
    // Centre in row 2 of z, leading face in row 3, destination in row 4.
    float x = 2 * 512 + 256, y = kStanding, z = 2 * 512 + 400;
    Move(x, y, z, 0, 0, 510);
    EXPECT_FLOAT_EQ(z + kHw, 3 * 512 + 199);
}

TEST_F(MoveBody, FollowsARampWhenFallingOntoItAndWalkingUpIt) {
    constexpr int kRamp = 5;
    Define(kRamp, 0, 511, 0, 511, 0, {0, 511, 511, 0}); // rises along x
    setCell(3, 1, 3, kRamp);
    const float z0 = 3 * 512 + 256;

    float x = 3 * 512 + 256, y = 2 * 512 + 400, z = z0;
    bool contact = false;
    for (int i = 0; i < 20; ++i) contact = Move(x, y, z, 0, -50, 0);
    EXPECT_TRUE(contact);
    // Resting one unit above the highest point under the plan samples.
    EXPECT_EQ(y - kHh, 512 + topHeight(kRamp, 256 + kHw - 1, 256) + 1);

    x = 3 * 512 + 140;
    y = 512 + topHeight(kRamp, 140 + kHw - 1, 256) + kHh + 1;
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(Move(x, y, z, 10, -5, 0));
        const int front = static_cast<int>(x - 3 * 512) + kHw - 1;
        EXPECT_NEAR(y - kHh, 512 + topHeight(kRamp, front, 256), 2.0f) << i;
    }
    EXPECT_FLOAT_EQ(x, 3 * 512 + 340);
}

TEST_F(MoveBody, MovesAtMost510PerCallAndKeepsInsideTheWorld) {
    float x = 2048, y = 1024, z = 2048;
    EXPECT_FALSE(Move(x, y, z, 600, 600, -600));
    EXPECT_EQ(x, 2048 + 510);
    EXPECT_EQ(y, 1024 + 510);
    EXPECT_EQ(z, 2048 - 510);

    // Below y 256 the body is put back with contact, above the top as well.
    worldGrid.cells.assign(worldGrid.cells.size(), 0);
    y = 100;
    EXPECT_TRUE(Move(x, y, z, 0, 0, 0));
    EXPECT_EQ(y, 256);
    y = 4 * 512 - 100;
    EXPECT_TRUE(Move(x, y, z, 0, 400, 0));
    EXPECT_EQ(y, 4 * 512);
    x = 30, z = 8 * 512 - 30;
    Move(x, y, z, -200, 0, 200);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(z, 8 * 512);
}

TEST_F(MoveBody, LandsOnFloorsAndBumpsCeilingsOneUnitAway) {
    float x = 1280, y = kStanding + 300, z = 1280;
    EXPECT_FALSE(Move(x, y, z, 0, -200, 0));
    EXPECT_TRUE(Move(x, y, z, 0, -200, 0));
    EXPECT_EQ(y, kStanding);

    setCell(2, 3, 2, kFloor); // a ceiling in row 3
    y = 3 * 512 - kHh - 100;
    EXPECT_TRUE(Move(x, y, z, 0, 300, 0));
    EXPECT_EQ(y + kHh, 3 * 512 - 1);
}

TEST_F(MoveBody, AFastFallCannotPassAThinFloorBetweenTwoRows) {
    Define(6, 0, 511, 0, 511, 240, {256, 256, 256, 256});
    setCell(2, 1, 2, 6);
    // Centre in row 2, feet in row 1, the destination of the feet in row 0.
    float x = 1280, y = 2 * 512 + 100, z = 1280;
    EXPECT_TRUE(Move(x, y, z, 0, -510, 0));
    EXPECT_EQ(y - kHh, 512 + 256 + 1);
}

TEST_F(MoveBody, SlidesAlongAWallWhenMovingIntoItDiagonally) {
    for (int z = 0; z < 8; ++z) setCell(4, 1, z, kFloor);
    float x = 4 * 512 - kHw - 5, y = kStanding, z = 1280;
    const float x0 = x;
    Move(x, y, z, 50, 0, 50);
    EXPECT_EQ(x, x0);
    EXPECT_EQ(z, 1330);
}

TEST_F(MoveBody, OnlyCollidingDefinedTypesStopTheBody) {
    objectTypes[7].undefined = 0;
    objectTypes[7].Collision = 0;
    setCell(3, 1, 2, 7);
    setCell(3, 1, 3, 9); // undefined: empty air
    for (float z : {2 * 512 + 256.0f, 3 * 512 + 256.0f}) {
        float x = 3 * 512 - kHw - 5, y = kStanding, bz = z;
        Move(x, y, bz, 100, 0, 0);
        EXPECT_EQ(x, 3 * 512 - kHw + 95);
    }
}

} // namespace
