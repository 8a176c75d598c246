// Small scenes drawn through the whole pipeline and compared byte for byte
// with pictures that were checked by eye.
#include <array>

#include <gtest/gtest.h>

#include <deque>

#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "engine/mesh.h"
#include "engine/render_fixture.h"
#include "world/world.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;

struct Corner {
    std::int32_t x, y, z;
};

// A quadrilateral q0..q3 as the two triangles (q3, q0, q1) and (q1, q2, q3),
// the second turning the texture, so one image covers it.
Mesh Quad(const std::array<Corner, 4>& q, std::uint16_t texture, std::uint16_t kind) {
    Mesh mesh = *MakeMesh(3, 1);
    for (int i = 0; i < 4; ++i) mesh.x[i] = q[i].x, mesh.y[i] = q[i].y, mesh.z[i] = q[i].z;
    mesh.faces[0] = Face{3, 0, 1, texture, 0, 0, kind};
    mesh.faces[1] = Face{1, 2, 3, texture, 1, 0, kind};
    return mesh;
}

// An upright square facing the camera (which looks along +z).
Mesh Wall(std::int32_t half, std::uint16_t texture, std::uint16_t kind) {
    return Quad({{{half, half, 0}, {half, -half, 0}, {-half, -half, 0}, {-half, half, 0}}}, texture,
                kind);
}

Mesh Sprite(std::uint16_t width, std::uint16_t height, std::uint16_t texture) {
    Mesh mesh = *MakeMesh(0, 0);
    mesh.faces[0] = Face{0, width, height, texture, 0, 0, kFaceSprite};
    return mesh;
}

class RenderReference : public ::testing::Test {
  protected:
    void SetUp() override {
        savedWindowMode = windowMode;
        windowMode = false;
    }
    void TearDown() override { windowMode = savedWindowMode; }
    Mesh* Keep(Mesh mesh) { return &meshes.emplace_back(std::move(mesh)); }
    bool savedWindowMode = true;
    std::deque<Mesh> meshes; // stays where it is while more are added
};

TEST_F(RenderReference, TexturedQuadFaceOn) {
    SetupTestView(kWidth, kHeight);
    InstallTestTextures();
    ClearFrame(0);
    SetCamera(0, 0, 0, 0, 0, 0);
    SubmitMesh(Keep(Wall(256, 1, kFaceTextured)), 0, 0, 700, 0, 255, 0, 0, 0);
    DrawQueue();
    EXPECT_TRUE(MatchesReference("textured_quad"));
}

TEST_F(RenderReference, FloorClippedAtTheNearPlane) {
    SetupTestView(kWidth, kHeight);
    InstallTestTextures();
    ClearFrame(TestColour(10, 3));
    SetCamera(0, 0, 0, 0, 0, 0);
    Mesh* floor =
        Keep(Quad({{{600, -200, 3000}, {600, -200, -300}, {-600, -200, -300}, {-600, -200, 3000}}},
                  1, kFaceTextured));
    SubmitMesh(floor, 0, 0, 0, 0, 255, 0, 0, 0);
    EXPECT_EQ(renderContext.queueCount, 3); // one triangle split in two, one cut down
    DrawQueue();
    EXPECT_TRUE(MatchesReference("clipped_floor"));
}

TEST_F(RenderReference, SpritesInFrontOfAndBehindAWall) {
    SetupTestView(kWidth, kHeight);
    InstallTestTextures();
    ClearFrame(TestColour(12, 2));
    SetCamera(0, 0, 0, 0, 0, 0);
    SubmitMesh(Keep(Wall(400, 3, kFaceTextured)), -150, 0, 1500, 0, 255, 0, 0, 0);
    Mesh* sprite = Keep(Sprite(300, 300, 2));
    SubmitMesh(sprite, -100, 0, 800, 0, 255, 0, 0, 0);   // before the wall
    SubmitMesh(sprite, 300, 100, 2000, 0, 255, 0, 0, 0); // partly hidden by it
    DrawQueue();
    EXPECT_TRUE(MatchesReference("sprites"));
}

TEST_F(RenderReference, TranslucentFacesOverAWall) {
    SetupTestView(kWidth, kHeight);
    InstallTestTextures();
    ClearFrame(0);
    SetCamera(0, 0, 0, 0, 0, 0);
    SubmitMesh(Keep(Wall(600, 1, kFaceTextured)), 0, 0, 1500, 0, 255, 0, 0, 0);
    SubmitMesh(Keep(Wall(150, TestColour(0, 15), kFaceFlat)), -250, 150, 1000, 50, 255, 0, 0, 0);
    SubmitMesh(Keep(Wall(150, TestColour(5, 15), kFaceFlat)), 250, 150, 1000, 25, 255, 0, 0, 0);
    SubmitMesh(Keep(Wall(200, 2, kFaceTexturedKeyed)), 0, -180, 1000, 50, 255, 0, 0, 0);
    DrawQueue();
    EXPECT_TRUE(MatchesReference("translucent"));
}

TEST_F(RenderReference, FlatTilesUnderTwoLights) {
    SetupTestView(kWidth, kHeight);
    ClearFrame(0);
    SetCamera(0, 400, 0, 0, -2500, 0);
    AddLight(-500, 0, 1500, 900);
    AddLight(600, 0, 2500, 1200);
    Mesh* tile = Keep(Quad({{{100, 0, 100}, {100, 0, -100}, {-100, 0, -100}, {-100, 0, 100}}},
                           TestColour(0, 15), kFaceFlat));
    for (int i = -6; i < 6; ++i)
        for (int j = 0; j < 16; ++j)
            SubmitMesh(tile, i * 200 + 100, 0, j * 200 + 300, 0, 40, 0, 0, 0);
    DrawQueue();
    EXPECT_TRUE(MatchesReference("two_lights"));
}

TEST_F(RenderReference, TurnedCubeInWindowMode) {
    windowMode = true;
    SetupTestView(kWidth, kHeight);
    InstallTestTextures();
    ClearFrame(TestColour(12, 1));
    SetCamera(0, 0, 0, 0, 0, 0);
    BuildCubeFaceMeshes();
    const std::uint16_t textures[6] = {1, 1, 3, 3, 4, 4};
    for (int side = 0; side < 6; ++side) {
        MeshSlot& mesh = cubeFaceMeshes[side];
        ASSERT_TRUE(mesh);
        for (Face& face : mesh->faces) face.texture = textures[side], face.kind = kFaceTextured;
        SubmitMesh(MeshOrNull(mesh), 0, 0, 1400, 0, 255, 3000, 2500, 0);
    }
    DrawQueue();
    EXPECT_TRUE(MatchesReference("turned_cube"));
}

} // namespace
