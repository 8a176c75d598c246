#include "editor/selection_view.h"

#include <algorithm>
#include <array>

#include "draw/pipeline.h"
#include "engine/mesh.h"
#include "engine/nearest_colour.h"
#include "world/view_box.h"
#include "world/world.h"

namespace {

constexpr std::int32_t kHalfBar = 7;
// One bar per axis, a cell long from the origin along it: two crossed
// double-sided strips, seen from every side.
std::array<MeshSlot, 3> bars;

void setVertex(Mesh& mesh, int v, int axis, std::int32_t along, std::int32_t u, std::int32_t w) {
    std::array<std::int32_t, 3> p{};
    p[static_cast<std::size_t>(axis)] = along;
    p[static_cast<std::size_t>((axis + 1) % 3)] = u;
    p[static_cast<std::size_t>((axis + 2) % 3)] = w;
    mesh.x[v] = p[0];
    mesh.y[v] = p[1];
    mesh.z[v] = p[2];
}

bool within(int cell, int lo, int hi) {
    return cell >= lo - 1 && cell <= hi + 1;
}

} // namespace

void BuildSelectionBars(const PalettePlanes& palette) {
    NearestColourIndex index;
    BuildNearestColourIndex(palette, 1, 255, index);
    const auto colour = static_cast<std::uint16_t>(FindNearestColour(index, 255, 140, 0));
    for (int axis = 0; axis < 3; ++axis) {
        MeshSlot& slot = bars[static_cast<std::size_t>(axis)];
        slot = MakeMesh(7, 3);
        if (!slot) continue;
        const std::int32_t h = kHalfBar, end = worldUnit;
        // Strip across the first other axis, then across the second.
        setVertex(*slot, 0, axis, 0, -h, 0);
        setVertex(*slot, 1, axis, end, -h, 0);
        setVertex(*slot, 2, axis, end, h, 0);
        setVertex(*slot, 3, axis, 0, h, 0);
        setVertex(*slot, 4, axis, 0, 0, -h);
        setVertex(*slot, 5, axis, end, 0, -h);
        setVertex(*slot, 6, axis, end, 0, h);
        setVertex(*slot, 7, axis, 0, 0, h);
        for (int strip = 0; strip < 2; ++strip) {
            const auto b = static_cast<std::uint16_t>(strip * 4);
            slot->faces[static_cast<std::size_t>(strip * 2)] =
                Face{b,
                     static_cast<std::uint16_t>(b + 1),
                     static_cast<std::uint16_t>(b + 2),
                     colour,
                     0,
                     1,
                     kFaceFlat};
            slot->faces[static_cast<std::size_t>(strip * 2 + 1)] =
                Face{static_cast<std::uint16_t>(b + 2),
                     static_cast<std::uint16_t>(b + 3),
                     b,
                     colour,
                     0,
                     1,
                     kFaceFlat};
        }
    }
}

void SubmitSelectionBox(const CellBox& box, const ViewBox& view) {
    const std::array<int, 3> low{box.low.x, box.low.y, box.low.z};
    const std::array<int, 3> past{box.high.x + 1, box.high.y + 1, box.high.z + 1};
    const std::array<int, 3> viewLo{view.loX, view.loY, view.loZ};
    const std::array<int, 3> viewHi{view.hiX, view.hiY, view.hiZ};
    for (int axis = 0; axis < 3; ++axis) {
        const Mesh* bar = MeshOrNull(bars[static_cast<std::size_t>(axis)]);
        if (!bar) continue;
        const int a = axis, b = (axis + 1) % 3, c = (axis + 2) % 3;
        for (int corner = 0; corner < 4; ++corner) {
            std::array<int, 3> at{};
            at[b] = corner & 1 ? past[b] : low[b];
            at[c] = corner & 2 ? past[c] : low[c];
            if (!within(at[b], viewLo[b], viewHi[b]) || !within(at[c], viewLo[c], viewHi[c]))
                continue;
            for (int cell = std::max(low[a], viewLo[a]); cell < past[a] && cell <= viewHi[a];
                 ++cell) {
                at[a] = cell;
                SubmitMesh(bar, at[0] * worldUnit, at[1] * worldUnit, at[2] * worldUnit, 0, 128);
            }
        }
    }
}
