#include "editor/overview_map.h"

#include <algorithm>
#include <cmath>

#include "editor/object_groups.h"
#include "world/world.h"

std::int8_t OverviewMap::MarkAt(int x, int z) const {
    if (x < 0 || z < 0 || x >= sizeX || z >= sizeZ) return kOverviewEmpty;
    return marks[static_cast<std::size_t>(x) + static_cast<std::size_t>(sizeX) * z];
}

OverviewMap BuildOverview() {
    return BuildOverview(TargetCell().y);
}

OverviewMap BuildOverview(int layer) {
    OverviewMap map;
    const WorldGrid& g = worldGrid;
    map.sizeX = std::max(g.sizeX, 0);
    map.sizeZ = std::max(g.sizeZ, 0);
    map.layer = std::clamp(layer, 0, std::max(g.sizeY - 1, 0));
    std::array<std::int8_t, kObjectTypeCount> markOf{};
    for (int t = 0; t < kObjectTypeCount; ++t)
        markOf[t] = t == 0 ? kOverviewEmpty
                    : objectTypes[t].undefined
                        ? kOverviewUnknown
                        : static_cast<std::int8_t>(GroupOfObject(objectTypes, t));
    map.marks.assign(static_cast<std::size_t>(map.sizeX) * static_cast<std::size_t>(map.sizeZ),
                     kOverviewEmpty);
    if (g.sizeY > 0)
        for (int z = 0; z < map.sizeZ; ++z)
            for (int x = 0; x < map.sizeX; ++x)
                map.marks[static_cast<std::size_t>(x) + static_cast<std::size_t>(map.sizeX) * z] =
                    markOf[cellAt(g, x, map.layer, z)];
    map.selector = TargetCell();
    for (int i = 1; i <= sentryCount && i < kSentrySlots; ++i) {
        const SentryRecord& e = sentries[i];
        if (e.x == 0 && e.y == 0 && e.z == 0) continue; // never placed
        const CellPosition c{CellOf(e.x), CellOf(e.y), CellOf(e.z)};
        if (c.y == map.layer && InsideGrid(c.x, c.y, c.z)) map.sentries.push_back(c);
    }
    const LevelState& l = levelState;
    map.startOnLayer = l.startY == map.layer && InsideGrid(l.startX, l.startY, l.startZ);
    map.exitOnLayer = l.exitY == map.layer && InsideGrid(l.exitX, l.exitY, l.exitZ);
    return map;
}

OverviewFit FitOverview(const OverviewMap& map, int areaWidth, int areaHeight) {
    OverviewFit fit;
    if (map.sizeX <= 0 || map.sizeZ <= 0 || areaWidth <= 0 || areaHeight <= 0) {
        fit.scale = 0;
        return fit;
    }
    fit.scale = std::min(static_cast<double>(areaWidth) / map.sizeX,
                         static_cast<double>(areaHeight) / map.sizeZ);
    // Whole pixels per cell where there is room: the cells stay even.
    if (fit.scale >= 1) fit.scale = std::floor(fit.scale);
    fit.width = static_cast<int>(std::lround(map.sizeX * fit.scale));
    fit.height = static_cast<int>(std::lround(map.sizeZ * fit.scale));
    fit.left = (areaWidth - fit.width) / 2;
    fit.top = (areaHeight - fit.height) / 2;
    return fit;
}

std::optional<CellPosition> OverviewCellAt(const OverviewMap& map, const OverviewFit& fit, int px,
                                           int py) {
    if (fit.scale <= 0 || px < fit.left || py < fit.top || px >= fit.left + fit.width ||
        py >= fit.top + fit.height)
        return std::nullopt;
    const int x = std::min(static_cast<int>((px - fit.left) / fit.scale), map.sizeX - 1);
    const int row = std::min(static_cast<int>((py - fit.top) / fit.scale), map.sizeZ - 1);
    return CellPosition{x, map.layer, map.sizeZ - 1 - row};
}

std::vector<int> OverviewCounts(const OverviewMap& map) {
    std::vector<int> counts(kObjectGroupCount + 1, 0);
    for (const std::int8_t mark : map.marks) {
        if (mark >= 0) ++counts[static_cast<std::size_t>(mark)];
        if (mark == kOverviewUnknown) ++counts[kObjectGroupCount];
    }
    return counts;
}
