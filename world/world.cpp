#include "world/world.h"

#include <limits>
#include <new>
#include <stdexcept>

#include "engine/angles.h"
#include "engine/mesh.h"
#include "world/level_start.h"

World world;

namespace {

// Index of an in-grid cell; callers check insideGrid first. The product of the
// sizes fits in int32 (ResizeWorldGrid refuses larger grids), but the index is
// formed in 64 bits so that no intermediate can overflow.
std::size_t cellIndex(const WorldGrid& grid, int x, int y, int z) {
    const std::int64_t index =
        x + static_cast<std::int64_t>(grid.sizeX) * (y + static_cast<std::int64_t>(grid.sizeY) * z);
    return static_cast<std::size_t>(index);
}

} // namespace

std::int32_t CellCentre(int cell) {
    return SaturateToInt32(std::int64_t{cell} * worldUnit + worldUnit / 2);
}

void ClearWorldTables() {
    for (ObjectType& type : objectTypes) type = ObjectType{};
    ClearWorldLists();
    for (PlayerRecord& player : players) player = PlayerRecord{};
    localPlayer = 0;
    lastPlayer = 0;
    sentries.fill(SentryRecord{});
    sentryCount = 0;
    world.menu = InGameMenu{};
    world.frame = 0;
    world.deaths = 0;
    world.wonFrame = -1;
}

bool ResizeWorldGrid(std::int32_t sizeX, std::int32_t sizeY, std::int32_t sizeZ) {
    if (sizeX <= 0 || sizeY <= 0 || sizeZ <= 0) return false;
    // Cell indices are int32 throughout the game, so the cell count must be too.
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    const std::int64_t plane = static_cast<std::int64_t>(sizeX) * sizeY;
    if (plane > limit || plane * sizeZ > limit) return false;
    const auto count = static_cast<std::size_t>(plane * sizeZ);

    std::vector<std::uint8_t> cells, brightness;
    try {
        cells.assign(count, 0);
        brightness.assign(count, 0);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    worldGrid.cells.swap(cells);
    worldGrid.brightness.swap(brightness);
    worldGrid.sizeX = sizeX;
    worldGrid.sizeY = sizeY;
    worldGrid.sizeZ = sizeZ;
    return true;
}

bool InsideGrid(const WorldGrid& grid, int x, int y, int z) {
    return x >= 0 && y >= 0 && z >= 0 && x < grid.sizeX && y < grid.sizeY && z < grid.sizeZ;
}

std::uint8_t cellAt(const WorldGrid& grid, int x, int y, int z) {
    if (!InsideGrid(grid, x, y, z)) return 0;
    return grid.cells[cellIndex(grid, x, y, z)];
}

std::uint8_t brightnessAt(const WorldGrid& grid, int x, int y, int z) {
    if (!InsideGrid(grid, x, y, z)) return 0;
    return grid.brightness[cellIndex(grid, x, y, z)];
}

bool InsideGrid(int x, int y, int z) {
    return InsideGrid(worldGrid, x, y, z);
}

std::uint8_t cellAt(int x, int y, int z) {
    return cellAt(worldGrid, x, y, z);
}

std::uint8_t brightnessAt(int x, int y, int z) {
    return brightnessAt(worldGrid, x, y, z);
}

void setCell(int x, int y, int z, int type) {
    if (!InsideGrid(x, y, z)) return;
    // The cell holds a byte: a wider value keeps its low byte, and the ingot
    // counts follow the type actually stored.
    const auto newType = static_cast<std::uint8_t>(type);
    std::uint8_t& cell = worldGrid.cells[cellIndex(worldGrid, x, y, z)];
    if (objectTypes[cell].Lingot) --objectTypes[cell].lingotCount;
    if (objectTypes[newType].Lingot) ++objectTypes[newType].lingotCount;
    cell = newType;
}
