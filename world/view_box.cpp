#include "world/view_box.h"

#include <algorithm>
#include <cmath>

#include "world/world.h"

namespace {

constexpr int kViewReach = 8; // cells on each side of the camera cell

void span(int c, int reach, int size, int& lo, int& hi) {
    lo = static_cast<int>(std::max<std::int64_t>(std::int64_t{c} - reach, 0));
    hi = static_cast<int>(std::min<std::int64_t>(std::int64_t{c} + reach, size));
}

bool near(int cell, int c, int reach) {
    return std::llabs(std::int64_t{cell} - c) < reach;
}

} // namespace

ViewBox ViewBoxAround(const WorldGrid& grid, float cameraX, float cameraY, float cameraZ) {
    return ViewBoxAround(grid, cameraX, cameraY, cameraZ, kViewReach);
}

ViewBox ViewBoxAround(const WorldGrid& grid, float cameraX, float cameraY, float cameraZ,
                      int reach) {
    ViewBox box;
    box.reach = std::max(reach, 1);
    box.cx = CellOf(cameraX);
    box.cy = CellOf(cameraY);
    box.cz = CellOf(cameraZ);
    span(box.cx, box.reach, grid.sizeX, box.loX, box.hiX);
    span(box.cy, box.reach, grid.sizeY, box.loY, box.hiY);
    span(box.cz, box.reach, grid.sizeZ, box.loZ, box.hiZ);
    return box;
}

bool NearCameraCell(const ViewBox& box, float x, float y, float z) {
    return near(CellOf(x), box.cx, box.reach) && near(CellOf(y), box.cy, box.reach) &&
           near(CellOf(z), box.cz, box.reach);
}
