// The transition meshes as the game shows them: coordinates doubled, drawn
// 170 in front of a camera at the origin, filled by the rasterizer's rules.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "meshes_catalog.h"

namespace {

struct View {
    int width, height;
    int cx() const { return width / 2; }
    int cy() const { return height / 2; }
    int fx() const { return width * 128 / 320; }
    int fy() const { return height * 128 / 240; }
    int maxX() const { return 2 * cx() - 1; }
    int maxY() const { return 2 * cy() - 1; }
};

struct Corner {
    std::int64_t x, y;
};

// Camera-space corners of a face after doubling and moving to depth 170;
// false when the face is culled as seen from behind.
bool Place(const Mesh& mesh, const Face& face, std::int64_t (&p)[3][3]) {
    const int index[3] = {face.v1, face.v2, face.v3};
    for (int i = 0; i < 3; ++i) {
        p[i][0] = 2 * mesh.x[index[i]];
        p[i][1] = 2 * mesh.y[index[i]];
        p[i][2] = 2 * mesh.z[index[i]] + 170;
    }
    std::int64_t e1[3], e2[3];
    for (int k = 0; k < 3; ++k) e1[k] = p[1][k] - p[0][k], e2[k] = p[2][k] - p[1][k];
    const std::int64_t n[3] = {(e1[1] * e2[2] - e1[2] * e2[1]) >> 8,
                               (e1[2] * e2[0] - e1[0] * e2[2]) >> 8,
                               (e1[0] * e2[1] - e1[1] * e2[0]) >> 8};
    std::int64_t dot = 0;
    for (int k = 0; k < 3; ++k) dot += n[k] * ((p[0][k] + p[1][k] + p[2][k]) / 3);
    return face.doubleSided != 0 || dot < 1;
}

// Marks the pixels one triangle fills: rows from the top corner down to,
// not including, the bottom one; spans from the left edge to the right one
// inclusive, never the last column or row of the picture.
void Fill(const View& view, Corner c0, Corner c1, Corner c2, std::vector<std::uint8_t>& covered) {
    Corner c[3] = {c0, c1, c2};
    std::stable_sort(c, c + 3, [](Corner a, Corner b) { return a.y < b.y; });
    const Corner t = c[0], m = c[1], b = c[2];
    const std::int64_t maxX = view.maxX(), maxY = view.maxY();
    if ((t.x < 0 && m.x < 0 && b.x < 0) || (t.x > maxX && m.x > maxX && b.x > maxX)) return;
    if (t.y > maxY || b.y < 0 || t.y == b.y) return;
    auto edge = [](Corner from, Corner to) {
        const std::int64_t k = (to.x - from.x) * 32768 / (to.y - from.y);
        return [=](std::int64_t y) { return (y - from.y) * k / 32768 + from.x; };
    };
    const auto longEdge = edge(t, b);
    auto rows = [&](auto shortEdge, std::int64_t from, std::int64_t to) {
        for (std::int64_t y = from; y < to; ++y) {
            const std::int64_t xa = longEdge(y), xb = shortEdge(y);
            std::int64_t left = std::min(xa, xb), end = std::max(xa, xb) + 1;
            if (left > maxX || end < 0) continue;
            left = std::max<std::int64_t>(left, 0);
            end = std::min(end, maxX);
            for (std::int64_t x = left; x < end; ++x) covered[y * view.width + x] = 1;
        }
    };
    if (m.y != t.y && m.y >= 0)
        rows(edge(m, t), std::max<std::int64_t>(t.y, 0), std::min(m.y, maxY));
    if (b.y != m.y && m.y <= maxY)
        rows(edge(m, b), std::max<std::int64_t>(m.y, 0), std::min(b.y, maxY));
}

// Pixels covered by the first `level` faces (the last row and column, which
// no triangle fills, are left out of the count).
int CoveredPixels(const Mesh& mesh, int level, const View& view, std::int64_t* farthest = nullptr) {
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(view.width) * view.height, 0);
    for (int f = 0; f < level; ++f) {
        std::int64_t p[3][3];
        if (!Place(mesh, mesh.faces[f], p)) continue;
        Corner corner[3];
        for (int i = 0; i < 3; ++i)
            corner[i] = {p[i][0] * view.fx() / p[i][2] + view.cx(),
                         view.cy() - p[i][1] * view.fy() / p[i][2]};
        for (const Corner& c : corner)
            if (farthest) *farthest = std::max({*farthest, std::abs(c.x), std::abs(c.y)});
        Fill(view, corner[0], corner[1], corner[2], covered);
    }
    int count = 0;
    for (int y = 0; y < view.maxY(); ++y)
        for (int x = 0; x < view.maxX(); ++x) count += covered[y * view.width + x];
    return count;
}

TEST(TransitionMeshes, SixteenFlatFacesThatAllFaceTheViewer) {
    for (int style = 1; style <= 3; ++style) {
        const Mesh mesh = TransitionMesh(style);
        ASSERT_EQ(mesh.faceCount(), kTransitionFaces) << "style " << style;
        for (const Face& face : mesh.faces) {
            std::int64_t p[3][3];
            EXPECT_TRUE(Place(mesh, face, p)) << "style " << style << " has a face turned away";
            EXPECT_GE(face.kind, kFaceFlat);
        }
    }
}

TEST(TransitionMeshes, AllSixteenCoverThePictureAtEverySize) {
    const View views[] = {{320, 240}, {320, 200}, {640, 480}, {800, 600}, {1600, 1200}, {160, 120}};
    for (int style = 1; style <= 3; ++style) {
        const Mesh mesh = TransitionMesh(style);
        for (const View& view : views) {
            const int all = view.maxX() * view.maxY();
            std::int64_t farthest = 0;
            EXPECT_EQ(CoveredPixels(mesh, kTransitionFaces, view, &farthest), all)
                << "style " << style << " at " << view.width << " x " << view.height;
            // Edge slopes are screen distances times 32768 in 32 bits.
            EXPECT_LT(farthest, 32768) << "style " << style << " at " << view.width;
        }
    }
}

TEST(TransitionMeshes, EveryFaceClosesMoreOfThePicture) {
    const View view{320, 240};
    for (int style = 1; style <= 3; ++style) {
        const Mesh mesh = TransitionMesh(style);
        int previous = 0;
        for (int level = 1; level <= kTransitionFaces; ++level) {
            const int covered = CoveredPixels(mesh, level, view);
            EXPECT_GT(covered, previous) << "style " << style << " level " << level;
            previous = covered;
        }
        // The first step only starts closing.
        EXPECT_LT(CoveredPixels(mesh, 1, view), view.maxX() * view.maxY() / 4) << "style " << style;
    }
}

} // namespace
