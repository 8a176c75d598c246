#include "world/view_box.h"

#include <algorithm>
#include <cmath>

#include "world/world.h"

namespace {

constexpr int kViewReach = 8; // cells on each side of the camera cell

void reach(int c, int size, int& lo, int& hi) {
    lo = static_cast<int>(std::max<std::int64_t>(std::int64_t{c} - kViewReach, 0));
    hi = static_cast<int>(std::min<std::int64_t>(std::int64_t{c} + kViewReach, size));
}

bool near(int cell, int c) {
    return std::llabs(std::int64_t{cell} - c) < kViewReach;
}

} // namespace

ViewBox ViewBoxAround(const WorldGrid& grid, float cameraX, float cameraY, float cameraZ) {
    ViewBox box;
    box.cx = CellOf(cameraX);
    box.cy = CellOf(cameraY);
    box.cz = CellOf(cameraZ);
    reach(box.cx, grid.sizeX, box.loX, box.hiX);
    reach(box.cy, grid.sizeY, box.loY, box.hiY);
    reach(box.cz, grid.sizeZ, box.loZ, box.hiZ);
    return box;
}

bool NearCameraCell(const ViewBox& box, float x, float y, float z) {
    return near(CellOf(x), box.cx) && near(CellOf(y), box.cy) && near(CellOf(z), box.cz);
}
