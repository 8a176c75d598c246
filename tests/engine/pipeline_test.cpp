#include "draw/pipeline.h"

#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include <deque>

#include "engine/mesh.h"
#include "engine/render_fixture.h"

namespace {

struct V {
    std::int32_t x, y, z;
};

// One mesh per test, freed at the end.
class Pipeline : public ::testing::Test {
  protected:
    void SetUp() override { SetupTestView(160, 120); }
    Mesh* Triangles(const std::vector<V>& vertices, std::vector<Face> faces) {
        Mesh& mesh = meshes.emplace_back(
            *MakeMesh(static_cast<int>(vertices.size()) - 1, static_cast<int>(faces.size()) - 1));
        for (std::size_t i = 0; i < vertices.size(); ++i)
            mesh.x[i] = vertices[i].x, mesh.y[i] = vertices[i].y, mesh.z[i] = vertices[i].z;
        for (std::size_t f = 0; f < faces.size(); ++f) mesh.faces[f] = faces[f];
        return &mesh;
    }
    // A flat triangle facing the camera at depth z.
    Mesh* FacingTriangle(std::int32_t z, std::uint16_t colour = 20) {
        return Triangles({{-100, 100, z}, {100, 100, z}, {100, -100, z}},
                         {Face{0, 1, 2, colour, 0, 0, kFaceFlat}});
    }
    static void Submit(const Mesh* mesh, std::int32_t shade = 255) {
        SubmitMesh(mesh, 0, 0, 0, 0, shade, 0, 0, 0);
    }
    // Pixel at screen position (x, y), whatever the row order.
    static std::uint8_t Pixel(const FrameBuffer& b, int x, int y) {
        const int row = windowMode ? b.height - 1 - y : y;
        return b.pixels[row * b.width + x];
    }
    // Inside every FacingTriangle: right of and above the centre.
    static std::uint8_t InFacing() { return Pixel(renderContext.mainBuffer, 83, 57); }
    std::deque<Mesh> meshes; // stays where it is while more are added
};

} // namespace

TEST_F(Pipeline, BackFaceTestAtTheBoundary) {
    // Horizontal triangles: the normal is (0, +-1, 0) after the shift, so
    // n . g is the centroid's height times its sign.
    auto queued = [&](std::int32_t y, bool reversed, std::uint16_t doubleSided = 0) {
        SetCamera(0, 0, 0, 0, 0, 0);
        const std::uint16_t b = reversed ? 2 : 1, c = reversed ? 1 : 2;
        Submit(Triangles({{0, y, 100}, {16, y, 100}, {0, y, 116}},
                         {Face{0, b, c, 20, 0, doubleSided, kFaceFlat}}));
        return renderContext.queueCount;
    };
    EXPECT_EQ(queued(1, false), 1); // n . g = -1
    EXPECT_EQ(queued(0, true), 1);  // n . g = 0: edge-on, drawn
    EXPECT_EQ(queued(1, true), 0);  // n . g = 1: culled
    EXPECT_EQ(queued(1, true, 1), 1);
}

TEST_F(Pipeline, NearPlaneClipping) {
    const std::int32_t nearZ = renderContext.projection.nearDistance;
    // One vertex behind the near plane: two polygons sharing the unclipped vertices.
    Submit(Triangles({{-100, 50, 500}, {100, 50, 500}, {0, -50, -100}},
                     {Face{0, 1, 2, 20, 0, 1, kFaceFlat}}));
    ASSERT_EQ(renderContext.queueCount, 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(renderContext.queue[i].z[2], -100);
        EXPECT_EQ(renderContext.queue[i].x[0], -100);
    }
    // The edge from (0, -50, -100) to the far vertex (-100, 50, 500) crosses
    // the plane at x = -17, y = -33 (6-bit interpolation, truncated).
    const Projection& p = renderContext.projection;
    EXPECT_EQ(renderContext.queue[0].sx[2], -17 * p.fx / nearZ + p.cx);
    EXPECT_EQ(renderContext.queue[0].sy[2], p.cy + 33 * p.fy / nearZ);

    SetCamera(0, 0, 0, 0, 0, 0);
    Submit(Triangles({{-100, 50, 500}, {100, 50, -5}, {0, -50, -100}},
                     {Face{0, 1, 2, 20, 0, 1, kFaceFlat}}));
    EXPECT_EQ(renderContext.queueCount, 1);

    SetCamera(0, 0, 0, 0, 0, 0);
    Submit(Triangles({{-100, 50, 10}, {100, 50, 10}, {0, -50, -100}},
                     {Face{0, 1, 2, 20, 0, 1, kFaceFlat}}));
    EXPECT_EQ(renderContext.queueCount, 0); // nothing beyond the near distance
}

TEST_F(Pipeline, RotationOnlyWhenAnAngleIsSet) {
    Mesh* mesh = FacingTriangle(0);
    mesh->x[0] = 10001;
    mesh->faces[0].doubleSided = 1;
    SetCamera(5, 0, -1000, 0, 0, 0);
    SubmitMesh(mesh, 7, 3, 2000, 0, 255, 0, 0, 0);
    ASSERT_EQ(renderContext.queueCount, 1);
    EXPECT_EQ(renderContext.queue[0].x[0], 10001 + 7 - 5);
    EXPECT_EQ(renderContext.queue[0].y[0], 103);
    EXPECT_EQ(renderContext.queue[0].z[0], 3000);

    // A full turn is not exactly the identity (half a turn is 3.1415): the
    // far vertex moves and is rounded.
    SetCamera(5, 0, -1000, 0, 0, 0);
    SubmitMesh(mesh, 7, 3, 2000, 0, 255, 32768, 0, 0);
    ASSERT_EQ(renderContext.queueCount, 1);
    EXPECT_EQ(renderContext.queue[0].x[0], 10001 + 7 - 5);
    EXPECT_EQ(renderContext.queue[0].z[0], 3000 - 2);
}

TEST_F(Pipeline, LightsAndTheirLimit) {
    SetCamera(0, 0, 0, 0, 0, 0);
    for (int i = 0; i < 256; ++i) AddLight(0, 0, 0, 0); // no radius: adds nothing
    AddLight(0, 0, 0, 100000);                          // the 257th
    EXPECT_EQ(renderContext.lastLight, 255);
    Submit(FacingTriangle(1000), 10);
    DrawQueue();
    EXPECT_EQ(renderContext.lastLight, -1);
    EXPECT_EQ(renderContext.queue[0].shade[0], 10);

    // 10 + 255 - (round(distance) + 1) * 255 / radius, clamped.
    SetCamera(0, 0, 0, 0, 0, 0);
    AddLight(-100, 100, 500, 1000);
    AddLight(100, 100, 1000, 50);
    Submit(FacingTriangle(1000), 10);
    DrawQueue();
    // Vertex 0: 500 from the first light, beyond the second's radius.
    EXPECT_EQ(renderContext.queue[0].shade[0], 10 + 255 - 501 * 255 / 1000);
    // Vertex 1: 538.5 from the first, on the second: 10 + 118 + 250, clamped.
    EXPECT_EQ(renderContext.queue[0].shade[1], 255);

    // An empty queue is not drawn and keeps its lights.
    SetCamera(0, 0, 0, 0, 0, 0);
    AddLight(0, 0, 0, 10);
    DrawQueue();
    EXPECT_EQ(renderContext.lastLight, 0);
}

TEST_F(Pipeline, FullQueueDropsFurtherPolygons) {
    std::vector<V> vertices = {{-100, 100, 1000}, {100, 100, 1000}, {100, -100, 1000}};
    std::vector<Face> faces(6000, Face{0, 1, 2, 20, 0, 0, kFaceFlat});
    Submit(Triangles(vertices, faces));
    Submit(FacingTriangle(900));
    EXPECT_EQ(renderContext.queueCount, 5000);
    DrawQueue();
}

TEST_F(Pipeline, FarAwayPolygonsSortFarWithoutOverflow) {
    const std::int32_t far = 2000000000;
    Mesh* sky = Triangles({{-far, far / 2, far}, {far, far / 2, far}, {far, -far, far}},
                          {Face{0, 1, 2, 40, 0, 0, kFaceFlat}});
    Submit(FacingTriangle(1000, 20));
    Submit(sky);
    ASSERT_EQ(renderContext.queueCount, 2);
    EXPECT_EQ(renderContext.queue[1].sortKey, std::numeric_limits<std::int64_t>::max());
    DrawQueue();
    EXPECT_EQ(InFacing(), renderContext.shadeTable->at(255 * 256 + 20)); // the near one on top
}

TEST_F(Pipeline, BadIndicesDrawNothing) {
    InstallTestTextures();
    renderContext.textures[5] = TextureEntry{70000, 70000, 70000};
    renderContext.textures[6] = TextureEntry{7, 7, 7}; // image 7 is empty
    ClearFrame(0);
    for (std::uint16_t texture : {40000, 5, 6}) {
        Mesh* mesh = FacingTriangle(1000, texture);
        mesh->faces[0].kind = kFaceTextured;
        Submit(mesh);
    }
    Submit(FacingTriangle(1000, 300));                              // no such colour
    Submit(Triangles({{0, 0, 1000}}, {Face{0, 1, 2, 1, 0, 0, 0}})); // no such vertex
    DrawQueue();
    EXPECT_EQ(renderContext.queueCount, 4);
    EXPECT_EQ(InFacing(), 0);
}

TEST_F(Pipeline, SpriteImageFollowsTheViewDirection) {
    renderContext.textures[5] = TextureEntry{10, 13, 10};
    Mesh* sprite = Triangles({{0, 0, 0}}, {Face{0, 100, 100, 5, 0, 0, kFaceSprite}});
    auto image = [&](std::int32_t yaw) {
        SetCamera(0, 0, 0, 0, 0, 0);
        SubmitMesh(sprite, 0, 0, 1000, 0, 255, yaw, 0, 0);
        EXPECT_EQ(renderContext.queueCount, 2);
        const QueuedPolygon& first = renderContext.queue[0];
        EXPECT_EQ(first.kind, kFaceTexturedKeyed);
        EXPECT_EQ(first.directImage, 1);
        EXPECT_EQ(first.flip, 1);
        EXPECT_EQ(renderContext.queue[1].flip, 0);
        return first.texture;
    };
    EXPECT_EQ(image(0), 11);     // (90 + 40) * 4 / 360
    EXPECT_EQ(image(16384), 13); // (90 - 180 + 40 + 360) * 4 / 360
}

TEST_F(Pipeline, PointVisibility) {
    SetCamera(0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(IsPointVisible(1280, 0, 0, -1000));  // behind, but close on every axis
    EXPECT_FALSE(IsPointVisible(1280, 0, 0, -5000)); // behind
    EXPECT_TRUE(IsPointVisible(1280, 0, 0, 5000));
    // cx = 80, fx = 64: the margin ends at screen x 239 (maxX 159 + 80).
    EXPECT_TRUE(IsPointVisible(10, 12400, 0, 5000));  // x = 238
    EXPECT_FALSE(IsPointVisible(10, 12500, 0, 5000)); // x = 240
}

TEST_F(Pipeline, StereoPassDrawsTheShiftedCopy) {
    renderContext.stereoscopic = 1;
    renderContext.eyeShift = 300;
    ClearFrame(0);
    SetCamera(0, 0, 0, 0, 0, 0);
    Submit(FacingTriangle(1000, 20));
    DrawQueue();
    renderContext.stereoscopic = 0;
    int mainLeft = -1, stereoLeft = -1;
    for (int x = renderContext.stereoBuffer.width - 1; x >= 0; --x) {
        if (Pixel(renderContext.mainBuffer, x, 57)) mainLeft = x;
        if (Pixel(renderContext.stereoBuffer, x, 57)) stereoLeft = x;
    }
    ASSERT_GE(mainLeft, 0);
    EXPECT_GT(stereoLeft, mainLeft + 15); // 300 units at depth ~1000 is ~19 pixels
}
