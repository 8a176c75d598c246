// The box of cells drawn around the camera.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "draw/scene_steps.h"
#include "world/world.h"

namespace scene {

namespace {

constexpr int kViewReach = 8; // cells drawn on each side of the camera cell

// Cell range [c - 8, c + 8] clipped to 0 below and to the size above; the
// upper end may be one past the grid, where cells read as empty.
void Reach(int c, int size, int& lo, int& hi) {
    lo = static_cast<int>(std::max<std::int64_t>(std::int64_t{c} - kViewReach, 0));
    hi = static_cast<int>(std::min<std::int64_t>(std::int64_t{c} + kViewReach, size));
}

bool Near(int cell, int c) {
    return std::llabs(std::int64_t{cell} - c) < kViewReach;
}

} // namespace

ViewBox ViewBoxAround(const WorldGrid& grid, float cameraX, float cameraY, float cameraZ) {
    ViewBox box;
    box.cx = CellOf(cameraX);
    box.cy = CellOf(cameraY);
    box.cz = CellOf(cameraZ);
    Reach(box.cx, grid.sizeX, box.loX, box.hiX);
    Reach(box.cy, grid.sizeY, box.loY, box.hiY);
    Reach(box.cz, grid.sizeZ, box.loZ, box.hiZ);
    return box;
}

bool NearCameraCell(const ViewBox& box, float x, float y, float z) {
    return Near(CellOf(x), box.cx) && Near(CellOf(y), box.cy) && Near(CellOf(z), box.cz);
}

} // namespace scene
