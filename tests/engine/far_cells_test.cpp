// The far view's walk over the cells queues exactly the polygons of the
// ordinary walk, from cameras inside, above, beside and below the cells.
#include <algorithm>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "draw/pipeline.h"
#include "draw/scene_steps.h"
#include "engine/render_context.h"
#include "engine/scene_fixture.h"
#include "world/view_box.h"
#include "world/world.h"

namespace {

using Polygon = std::tuple<std::array<std::int32_t, 9>, std::array<std::int32_t, 6>, std::int32_t,
                           std::int32_t, std::int32_t>;

std::vector<Polygon> queued() {
    const RenderContext& rc = renderContext;
    std::vector<Polygon> out;
    for (int i = 0; i < rc.queueCount; ++i) {
        const QueuedPolygon& q = rc.queue[static_cast<std::size_t>(i)];
        out.emplace_back(
            std::array<std::int32_t, 9>{q.x[0], q.x[1], q.x[2], q.y[0], q.y[1], q.y[2], q.z[0],
                                        q.z[1], q.z[2]},
            std::array<std::int32_t, 6>{q.sx[0], q.sx[1], q.sx[2], q.sy[0], q.sy[1], q.sy[2]},
            q.texture, q.shade[0], q.transparency);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<Polygon> drawn(bool far, const ViewBox& box, const std::array<std::int32_t, 4>& eye) {
    SetCamera(eye[0], eye[1], eye[2], eye[3], 1500, 0);
    PlayerRecord viewer;
    viewer.actionCell = {2, 0, 3}; // a soil-less cell: no dig shade
    if (far)
        scene::DrawCellsFar(world, box, viewer);
    else
        scene::DrawCells(world, box, viewer);
    return queued();
}

} // namespace

TEST(FarCells, QueueTheSamePolygonsAsTheOrdinaryWalk) {
    TempDir dir;
    WriteSceneDataSet(dir);
    // A floor with a hole, a wall, a pillar of cubes, a lone cube in the
    // air, pyramids and a ramp: shared sides, outer sides and meshes.
    LevelData level = EmptyLevel(12, 6, 11);
    for (int x = 0; x < 12; ++x)
        for (int z = 0; z < 11; ++z)
            if (x != 5 || z != 5) SetCell(level, x, 0, z, 1 + (x + z) % 2);
    for (int z = 0; z < 11; ++z) SetCell(level, 0, 1, z, 4);
    for (int y = 1; y < 5; ++y) SetCell(level, 7, y, 7, 1);
    SetCell(level, 3, 4, 3, 2);
    SetCell(level, 9, 1, 2, 3);
    SetCell(level, 4, 1, 8, 5);
    SetCell(level, 11, 1, 10, 3);
    ASSERT_TRUE(LoadSceneLevel(dir, level, 320, 240));
    ReserveQueue(20000);

    const std::array<std::array<std::int32_t, 4>, 5> eyes = {{
        {6 * 512, 2 * 512 + 100, 5 * 512, 3000},             // inside, between the cells
        {-2000, 8 * 512, -2000, 6000},                       // above a corner, outside the grid
        {13 * 512, 600, 5 * 512 + 256, 24576},               // level with the floor's top, east
        {6 * 512 + 256, -3000, 5 * 512 + 256, 0},            // below the floor
        {3 * 512 + 256, 4 * 512 + 256, 3 * 512 + 256, 9000}, // at the lone cube's centre
    }};
    for (const auto& eye : eyes) {
        // A box reaching past the grid on every side, as the whole view's does.
        const ViewBox box =
            ViewBoxAround(worldGrid, static_cast<float>(eye[0]), static_cast<float>(eye[1]),
                          static_cast<float>(eye[2]), 40);
        const std::vector<Polygon> ordinary = drawn(false, box, eye);
        const std::vector<Polygon> far = drawn(true, box, eye);
        EXPECT_FALSE(ordinary.empty()) << eye[0] << "," << eye[1] << "," << eye[2];
        EXPECT_EQ(far, ordinary) << eye[0] << "," << eye[1] << "," << eye[2];
    }
}

TEST(FarCells, ABoxReachesItsOwnDistanceAndNearnessFollowsIt) {
    WorldGrid grid;
    grid.sizeX = 100;
    grid.sizeY = 20;
    grid.sizeZ = 100;
    const ViewBox near = ViewBoxAround(grid, 50 * 512, 10 * 512, 50 * 512);
    EXPECT_EQ(near.reach, 8);
    EXPECT_EQ(near.loX, 42);
    EXPECT_EQ(near.hiX, 58);
    const ViewBox wide = ViewBoxAround(grid, 50 * 512, 10 * 512, 3 * 512, 64);
    EXPECT_EQ(wide.loX, 0);
    EXPECT_EQ(wide.hiX, 100); // one past the grid, as the near box may be
    EXPECT_EQ(wide.loY, 0);
    EXPECT_EQ(wide.hiY, 20);
    EXPECT_EQ(wide.loZ, 0);
    EXPECT_EQ(wide.hiZ, 67);
    EXPECT_TRUE(NearCameraCell(wide, 50 * 512, 10 * 512, 60 * 512));
    EXPECT_FALSE(NearCameraCell(near, 50 * 512, 10 * 512, 60 * 512));
    // A reach below one is one.
    EXPECT_EQ(ViewBoxAround(grid, 0, 0, 0, -5).reach, 1);
}
