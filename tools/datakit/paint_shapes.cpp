#include "paint_shapes.h"

#include <algorithm>
#include <cstdlib>

namespace paint {

std::vector<int> DistanceInside(const std::vector<std::uint8_t>& mask, int width, int height) {
    const int far = 1 << 24;
    std::vector<int> d(mask.size());
    for (std::size_t i = 0; i < mask.size(); ++i) d[i] = mask[i] ? far : 0;
    auto at = [&](int x, int y) {
        return x < 0 || y < 0 || x >= width || y >= height
                   ? 0
                   : d[static_cast<std::size_t>(y * width + x)];
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int& v = d[static_cast<std::size_t>(y * width + x)];
            if (v == 0) continue;
            v = std::min({v, at(x - 1, y) + 3, at(x, y - 1) + 3, at(x - 1, y - 1) + 4,
                          at(x + 1, y - 1) + 4});
        }
    for (int y = height - 1; y >= 0; --y)
        for (int x = width - 1; x >= 0; --x) {
            int& v = d[static_cast<std::size_t>(y * width + x)];
            if (v == 0) continue;
            v = std::min({v, at(x + 1, y) + 3, at(x, y + 1) + 3, at(x + 1, y + 1) + 4,
                          at(x - 1, y + 1) + 4});
        }
    return d;
}

namespace {

bool InsideConvex(const Polygon& polygon, std::int64_t x, std::int64_t y) {
    bool positive = false, negative = false;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        const std::int64_t cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
        if (cross > 0) positive = true;
        if (cross < 0) negative = true;
        if (positive && negative) return false;
    }
    return true;
}

} // namespace

std::vector<int> Coverage(int width, int height, const std::vector<Polygon>& polygons) {
    std::vector<int> coverage(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                              0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int count = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const std::int64_t px = x * 32 + 4 + sx * 8, py = y * 32 + 4 + sy * 8;
                    for (const Polygon& polygon : polygons)
                        if (polygon.size() >= 3 && InsideConvex(polygon, px, py)) {
                            ++count;
                            break;
                        }
                }
            coverage[static_cast<std::size_t>(y * width + x)] = count;
        }
    return coverage;
}

int Angle(int dx, int dy) {
    if (dx == 0 && dy == 0) return 0;
    const int ax = std::abs(dx), ay = std::abs(dy);
    // atan of t = small / large in 0..1, in 1024ths: about t * (128 + 44 (1 - t)).
    const std::int64_t small = std::min(ax, ay), large = std::max(ax, ay);
    const std::int64_t t = small * 4096 / large; // 0..4096
    int a = static_cast<int>((t * (128 * 4096 + 44 * (4096 - t))) / (4096LL * 4096));
    if (ay > ax) a = 256 - a;
    if (dx < 0) a = 512 - a;
    if (dy < 0) a = 1024 - a;
    return a & 1023;
}

} // namespace paint
