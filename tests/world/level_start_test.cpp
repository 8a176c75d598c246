#include "engine/mesh.h"
#include "world/world.h"

#include <gtest/gtest.h>

namespace {

class LevelStart : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(3, 3, 3));
    }
    void TearDown() override { ClearWorldTables(); }
};

} // namespace

TEST_F(LevelStart, ResetsEveryPlayerAtTheStartCell) {
    for (PlayerRecord& p : players) {
        p.fallSpeed = -300, p.width = 1, p.light = 10, p.lightTarget = 20, p.dead = 1;
        p.pose = 7, p.blendFromPose = 3, p.lastPose = 5, p.poseBlendMs = 200, p.blendStart = 99;
        p.onLadder = 1, p.vx = p.vy = p.vz = 4, p.turnRate = 3, p.busyMs = 500;
        p.pitch = p.roll = p.pitchTarget = p.rollTarget = 7;
        p.lives = 2, p.levelIndex = 4;
    }
    ResetPlayersForLevel(2, 1, 0, 8192);
    for (const PlayerRecord& p : players) {
        EXPECT_FLOAT_EQ(p.x, 2 * 512 + 256);
        EXPECT_FLOAT_EQ(p.y, 1 * 512 + 480);
        EXPECT_FLOAT_EQ(p.z, 256);
        EXPECT_FLOAT_EQ(p.heading, 8192);
        EXPECT_FLOAT_EQ(p.cameraX, p.x);
        EXPECT_FLOAT_EQ(p.cameraY, p.y);
        EXPECT_FLOAT_EQ(p.cameraZ, p.z);
        EXPECT_EQ(p.width, 260);
        EXPECT_EQ(p.height, 480);
        EXPECT_EQ(p.stepHeight, 256);
        EXPECT_FLOAT_EQ(p.light, 5000);
        EXPECT_FLOAT_EQ(p.lightTarget, 5000);
        EXPECT_EQ(p.dead, 0);
        EXPECT_EQ(p.pose + p.blendFromPose + p.lastPose + p.poseBlendMs + p.blendStart, 0);
        EXPECT_EQ(p.onLadder, 0);
        EXPECT_FLOAT_EQ(p.fallSpeed + p.vx + p.vy + p.vz + p.turnRate, 0);
        EXPECT_FLOAT_EQ(p.pitch + p.roll + p.pitchTarget + p.rollTarget, 0);
        EXPECT_EQ(p.busyMs, 0);
        // Lives and the level index carry over from level to level.
        EXPECT_EQ(p.lives, 2);
        EXPECT_EQ(p.levelIndex, 4);
    }
}

TEST_F(LevelStart, RecountsIngotsAndEmptiesTheLists) {
    objectTypes[4].Lingot = 1;
    objectTypes[4].lingotCount = 40; // stale
    objectTypes[6].lingotCount = 3;  // not an ingot type
    worldGrid.cells[0] = worldGrid.cells[5] = worldGrid.cells[26] = 4;
    worldGrid.cells[7] = 6;
    holeCount = 12;
    slidingBlockCount = 3;
    for (int i : {0, 17, 256}) {
        transitionSlots[i].active = 1;
        ASSERT_TRUE(AllocateMesh(transitionSlots[i].workMesh, 3, 1));
    }

    ResetPlayersForLevel(0, 0, 0, 0);

    EXPECT_EQ(objectTypes[4].lingotCount, 3);
    EXPECT_EQ(objectTypes[6].lingotCount, 0);
    EXPECT_EQ(holeCount, -1);
    EXPECT_EQ(slidingBlockCount, -1);
    for (const TransitionSlot& slot : transitionSlots) {
        EXPECT_EQ(slot.active, 0);
        EXPECT_EQ(slot.workMesh, nullptr);
    }
}

TEST(CubeFaces, EachSideLiesOnItsOwnFaceOfTheCube) {
    BuildCubeFaceMeshes();
    // A..F: low z, high x, high z, low x, top, bottom: (axis, value).
    const int axis[6] = {2, 0, 2, 0, 1, 1};
    const int value[6] = {-256, 256, 256, -256, 256, -256};
    for (int side = 0; side < 6; ++side) {
        const Mesh* mesh = cubeFaceMeshes[side];
        ASSERT_NE(mesh, nullptr);
        ASSERT_EQ(mesh->vertexCount(), 4);
        ASSERT_EQ(mesh->faceCount(), 2);
        for (int v = 0; v < 4; ++v) {
            const int coordinate[3] = {mesh->x[v], mesh->y[v], mesh->z[v]};
            EXPECT_EQ(coordinate[axis[side]], value[side]) << "side " << side << " vertex " << v;
        }
        const Face& first = mesh->faces[0];
        const Face& second = mesh->faces[1];
        EXPECT_EQ((std::array<int, 5>{first.v1, first.v2, first.v3, first.flip, first.kind}),
                  (std::array<int, 5>{3, 0, 1, 0, 3}));
        EXPECT_EQ((std::array<int, 5>{second.v1, second.v2, second.v3, second.flip, second.kind}),
                  (std::array<int, 5>{1, 2, 3, 1, 3}));
        EXPECT_EQ(first.texture, 66);
    }

    ObjectType cube;
    cube.faceColor = {10, 11, 12, 13, 14, 15};
    cube.faceTexture = {20, 21, 22, 23, 24, 25};
    ApplyCubeFaces(cube, true);
    for (int side = 0; side < 6; ++side)
        for (const Face& face : cubeFaceMeshes[side]->faces) {
            EXPECT_EQ(face.texture, 20 + side);
            EXPECT_EQ(face.kind, kFaceTextured);
        }
    ApplyCubeFaces(cube, false);
    for (int side = 0; side < 6; ++side)
        for (const Face& face : cubeFaceMeshes[side]->faces) {
            EXPECT_EQ(face.texture, 10 + side);
            EXPECT_EQ(face.kind, kFaceFlat);
        }
}
