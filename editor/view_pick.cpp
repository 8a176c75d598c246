#include "editor/view_pick.h"

#include <cmath>
#include <utility>

#include "editor/editor_state.h"
#include "engine/render_context.h"
#include "world/world.h"

namespace {

Camera viewCamera;
Projection viewProjection;
bool dragging = false;

} // namespace

void RememberLevelViewCamera() {
    viewCamera = renderContext.camera;
    viewProjection = renderContext.projection;
}

std::optional<CellTriple> CellUnderViewPixel(double x, double y, int layer) {
    const Projection& p = viewProjection;
    if (p.fx == 0 || p.fy == 0) return std::nullopt;
    // Camera space: x right, y up, z ahead; the camera's rotation is
    // orthonormal, so its transpose turns the ray back into the world.
    const double cx = (x - p.cx) / p.fx, cy = (p.cy - y) / p.fy, cz = 1.0;
    const Matrix3& m = viewCamera.matrix;
    const double wx = m[0] * cx + m[3] * cy + m[6] * cz;
    const double wy = m[1] * cx + m[4] * cy + m[7] * cz;
    const double wz = m[2] * cx + m[5] * cy + m[8] * cz;
    const double plane = static_cast<double>(layer) * worldUnit + worldUnit / 2.0;
    if (std::fabs(wy) < 1e-9) return std::nullopt;
    const double t = (plane - viewCamera.y) / wy;
    if (!(t > 0) || t > 1e7) return std::nullopt;
    const double hitX = viewCamera.x + t * wx, hitZ = viewCamera.z + t * wz;
    const CellTriple cell{static_cast<int>(std::floor(hitX / worldUnit)), layer,
                          static_cast<int>(std::floor(hitZ / worldUnit))};
    if (!InsideGrid(cell.x, cell.y, cell.z)) return std::nullopt;
    return cell;
}

void DragSelectFrame(std::optional<std::pair<double, double>> pixel, bool held) {
    if (!held) {
        dragging = false;
        return;
    }
    if (!pixel) return;
    const int layer = TargetCell().y;
    const std::optional<CellTriple> cell = CellUnderViewPixel(pixel->first, pixel->second, layer);
    if (!cell) return;
    // The selector stays: were it to follow, the view would move under the
    // mouse and the box with it.
    if (!dragging) {
        dragging = true;
        editor.selection = {true, *cell, true, *cell};
    }
    editor.selection.end = *cell;
}
