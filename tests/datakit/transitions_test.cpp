// The transition meshes drawn as the game shows them, through the pipeline.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "draw/pipeline.h"
#include "engine/render_context.h"
#include "meshes_catalog.h"
#include "render_view.h"

namespace {

// What the game's transition drawing does: the mesh doubled, its first
// `level` faces drawn 170 in front of a camera at the origin.
void DrawTransition(const Mesh& transition, int level) {
    Mesh mesh = transition;
    for (int i = 0; i < mesh.VertexCount(); ++i) mesh.x[i] *= 2, mesh.y[i] *= 2, mesh.z[i] *= 2;
    mesh.lastFace = static_cast<std::uint16_t>(level - 1);
    SetCamera(0, 0, 0, 0, 0, 0);
    AddLight(0, 0, 0, 10000);
    SubmitMesh(&mesh, 0, 0, 170, 0, 0, 0, 0, 0);
    DrawQueue();
}

int CoveredPixels(const Mesh& transition, int level, int width, int height) {
    SetupBareView(width, height);
    DrawTransition(transition, level);
    const Projection& p = renderContext.projection;
    return p.maxX * p.maxY - UncoveredPixels();
}

TEST(TransitionMeshes, SixteenFlatFacesCoverThePictureAtEverySize) {
    const int sizes[][2] = {{320, 240}, {320, 200},   {640, 480},
                            {800, 600}, {1600, 1200}, {160, 120}};
    for (int style = 1; style <= 3; ++style) {
        const Mesh mesh = TransitionMesh(style);
        ASSERT_EQ(mesh.FaceCount(), kTransitionFaces) << "style " << style;
        for (const Face& face : mesh.faces) EXPECT_GE(face.kind, kFaceFlat);
        for (const auto& size : sizes) {
            SetupBareView(size[0], size[1]);
            DrawTransition(mesh, kTransitionFaces);
            EXPECT_EQ(UncoveredPixels(), 0)
                << "style " << style << " at " << size[0] << " x " << size[1];
        }
    }
}

TEST(TransitionMeshes, EveryFaceClosesMoreOfThePicture) {
    for (int style = 1; style <= 3; ++style) {
        const Mesh mesh = TransitionMesh(style);
        int previous = 0;
        for (int level = 1; level <= kTransitionFaces; ++level) {
            const int covered = CoveredPixels(mesh, level, 320, 240);
            EXPECT_GT(covered, previous) << "style " << style << " level " << level;
            previous = covered;
        }
        // The first step only starts closing.
        EXPECT_LT(CoveredPixels(mesh, 1, 320, 240), 319 * 239 / 4) << "style " << style;
    }
}

TEST(TransitionMeshes, CornersStayWithinTheRasterizersRange) {
    // Edge slopes are screen distances times 32768 in 32 bits.
    const std::int64_t fx = 1600 * 128 / 320, fy = 1200 * 128 / 240;
    for (int style = 1; style <= 3; ++style) {
        const Mesh mesh = TransitionMesh(style);
        for (int i = 0; i < mesh.VertexCount(); ++i) {
            const std::int64_t z = 2 * mesh.z[i] + 170;
            EXPECT_LT(std::abs(2 * mesh.x[i] * fx / z), 32768 - 800) << "style " << style;
            EXPECT_LT(std::abs(2 * mesh.y[i] * fy / z), 32768 - 600) << "style " << style;
        }
    }
}

} // namespace
