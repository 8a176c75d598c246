// Box shapes of the object types: the sloped top surface and the point tests
// that body movement and the kill test use.
#include <cmath>
#include <limits>

#include "engine/angles.h"
#include "world/world.h"

namespace {

// trunc(offset * rise / run + base), with the product formed exactly.
std::int32_t interpolate(std::int64_t offset, std::int64_t rise, std::int64_t run,
                         std::int64_t base) {
    return TruncToInt(static_cast<double>(offset * rise) / static_cast<double>(run) +
                      static_cast<double>(base));
}

bool insideShape(float x, float y, float z, float offset, bool solidOnly) {
    const int i = CellOf(x), j = CellOf(y), k = CellOf(z);
    // One cell past the last one is still looked at (it reads as type 0).
    if (i < 0 || j < 0 || k < 0 || i > worldGrid.sizeX || j > worldGrid.sizeY ||
        k > worldGrid.sizeZ)
        return false;
    const std::uint8_t typeIndex = cellAt(i, j, k);
    const ObjectType& type = objectTypes[typeIndex];
    // A type the definition file does not define is empty air.
    if (type.undefined) return false;
    if (solidOnly && !type.Collision) return false;

    const double lx = static_cast<double>(x) - 512.0 * i;
    const double ly = static_cast<double>(y) - 512.0 * j;
    const double lz = static_cast<double>(z) - 512.0 * k;
    if (lx < type.Xmin || lx > type.Xmax || lz < type.Zmin || lz > type.Zmax) return false;
    const double top = topHeight(typeIndex, static_cast<int>(lx), static_cast<int>(lz));
    return ly >= type.Ymin - static_cast<double>(offset) && ly <= top - static_cast<double>(offset);
}

} // namespace

std::int32_t topHeight(int type, int lx, int lz) {
    return topHeight(objectTypes[static_cast<std::uint8_t>(type)], lx, lz);
}

std::int32_t topHeight(const ObjectType& t, int lx, int lz) {
    // A box with no depth or no width has no slope along that axis: its top is
    // taken at the low edge instead of dividing by zero.
    std::int32_t g = t.Ymax2, o = t.Ymax1;
    const std::int64_t depth = static_cast<std::int64_t>(t.Zmax) - t.Zmin;
    if (depth != 0) {
        const std::int64_t dz = static_cast<std::int64_t>(lz) - t.Zmin;
        g = interpolate(dz, static_cast<std::int64_t>(t.Ymax3) - t.Ymax2, depth, t.Ymax2);
        o = interpolate(dz, static_cast<std::int64_t>(t.Ymax4) - t.Ymax1, depth, t.Ymax1);
    }
    const std::int64_t width = static_cast<std::int64_t>(t.Xmax) - t.Xmin;
    if (width == 0) return o;
    const std::int64_t dx = static_cast<std::int64_t>(lx) - t.Xmin;
    return interpolate(dx, static_cast<std::int64_t>(g) - o, width, o);
}

bool pointInShape(float x, float y, float z) {
    return insideShape(x, y, z, 0.0f, false);
}

bool pointInSolid(float x, float y, float z) {
    return insideShape(x, y, z, 0.0f, true);
}

bool pointInSolidRaised(float offset, float x, float y, float z) {
    return insideShape(x, y, z, offset, true);
}
