// The overview: one layer of the level seen from above, each cell by the
// group of the object in it, with the selector, the sentries, the start and
// the exit of that layer; and the cell under a point of the drawn map.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "editor/editor_state.h"

// A cell's mark: the group of its object (0..kObjectGroupCount - 1), or one
// of these.
inline constexpr std::int8_t kOverviewEmpty = -1;
inline constexpr std::int8_t kOverviewUnknown = -2; // a type the definitions leave out

struct OverviewMap {
    int sizeX = 0, sizeZ = 0;
    int layer = 0;                  // the y of the cells shown
    std::vector<std::int8_t> marks; // x + sizeX * z
    CellPosition selector;
    std::vector<CellPosition> sentries; // those whose cell is on the layer
    bool startOnLayer = false, exitOnLayer = false;

    std::int8_t MarkAt(int x, int z) const;
};

// The layer of the selector's target cell (clamped into the grid).
OverviewMap BuildOverview();
OverviewMap BuildOverview(int layer);

// Where the map goes in an area of the given size: square cells of
// `scale` pixels (below 1 for a map larger than the area), centred, north
// (high z) at the top.
struct OverviewFit {
    double scale = 1;
    int left = 0, top = 0, width = 0, height = 0;
};
OverviewFit FitOverview(const OverviewMap& map, int areaWidth, int areaHeight);

// The cell of the layer under a point of the area; none outside the map.
std::optional<CellPosition> OverviewCellAt(const OverviewMap& map, const OverviewFit& fit, int px,
                                           int py);

// Non-empty cells of the layer by mark: [0..6] the groups, [7] unknown types.
std::vector<int> OverviewCounts(const OverviewMap& map);
