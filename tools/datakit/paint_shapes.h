// Shape helpers shared by textures and interface pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace paint {

// Distance of every pixel of a width x height mask (non-zero = inside) to the
// nearest outside pixel, in thirds of a pixel (3 across, 4 diagonally);
// 0 outside. Pixels beyond the edges count as outside.
std::vector<int> DistanceInside(const std::vector<std::uint8_t>& mask, int width, int height);

// A convex polygon with corners in 1/32 pixel, in either winding.
struct Point {
    std::int64_t x = 0, y = 0;
};
using Polygon = std::vector<Point>;

// How much of each pixel of a width x height picture the union of the
// polygons covers, 0..16 (a 4 x 4 grid of samples per pixel).
std::vector<int> Coverage(int width, int height, const std::vector<Polygon>& polygons);

// The angle of (dx, dy) in 1024ths of a turn, 0 along +x, 256 along +y.
int Angle(int dx, int dy);

} // namespace paint
