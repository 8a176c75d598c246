#include "paint_noise.h"

#include <array>
#include <cmath>

namespace paint {

namespace {

int Wrap(int v, int period) {
    const int m = v % period;
    return m < 0 ? m + period : m;
}

// Smoothstep of t in 0..256, giving 0..256.
int Ease(int t) {
    return t * t * (768 - 2 * t) / 65536;
}

int Lattice(int ix, int iy, int cellsX, int cellsY, std::uint32_t seed) {
    return static_cast<int>(Hash(static_cast<std::uint32_t>(Wrap(ix, cellsX)),
                                 static_cast<std::uint32_t>(Wrap(iy, cellsY)), seed) &
                            255u);
}

} // namespace

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

int Grain(int x, int y, std::uint32_t seed) {
    return static_cast<int>(Hash(static_cast<std::uint32_t>(Wrap(x, 128)),
                                 static_cast<std::uint32_t>(Wrap(y, 128)), seed ^ 0xA5A5u) &
                            255u);
}

int ValueNoise(int x, int y, int cellW, int cellH, int period, std::uint32_t seed) {
    x = Wrap(x, period);
    y = Wrap(y, period);
    const int cellsX = period / cellW, cellsY = period / cellH;
    const int ix = x / cellW, iy = y / cellH;
    const int tx = Ease((x % cellW) * 256 / cellW), ty = Ease((y % cellH) * 256 / cellH);
    const int a = Lattice(ix, iy, cellsX, cellsY, seed);
    const int b = Lattice(ix + 1, iy, cellsX, cellsY, seed);
    const int c = Lattice(ix, iy + 1, cellsX, cellsY, seed);
    const int d = Lattice(ix + 1, iy + 1, cellsX, cellsY, seed);
    const int top = a * 256 + (b - a) * tx;
    const int bottom = c * 256 + (d - c) * tx;
    return (top * 256 + (bottom - top) * ty) / 65536;
}

int Fractal(int x, int y, int cell, int octaves, int period, std::uint32_t seed) {
    int sum = 0, weight = 0, w = 256;
    for (int o = 0; o < octaves && cell >= 1; ++o) {
        sum +=
            ValueNoise(x, y, cell, cell, period, seed + 977u * static_cast<std::uint32_t>(o)) * w;
        weight += w;
        w /= 2;
        cell /= 2;
    }
    return weight > 0 ? sum / weight : 128;
}

Cells CellNoise(int x, int y, int cell, int period, std::uint32_t seed) {
    const int cells = period / cell;
    const int cx = Wrap(x, period) / cell, cy = Wrap(y, period) / cell;
    const int px = Wrap(x, period), py = Wrap(y, period);
    Cells out;
    std::int64_t best = INT64_MAX, second = INT64_MAX;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx, gy = cy + dy;
            const std::uint32_t h = Hash(static_cast<std::uint32_t>(Wrap(gx, cells)),
                                         static_cast<std::uint32_t>(Wrap(gy, cells)), seed);
            // The point lies inside its square, away from the very edge.
            const int fx =
                gx * cell + 1 + static_cast<int>(h % static_cast<std::uint32_t>(cell - 1));
            const int fy =
                gy * cell + 1 + static_cast<int>((h >> 12) % static_cast<std::uint32_t>(cell - 1));
            const std::int64_t ddx = px - fx, ddy = py - fy;
            const std::int64_t d = ddx * ddx + ddy * ddy;
            if (d < best) {
                second = best;
                best = d;
                out.id = h;
            } else if (d < second) {
                second = d;
            }
        }
    }
    out.nearest = Sqrt(best);
    out.second = Sqrt(second);
    return out;
}

int Sine(int phase) {
    // Rounded once from the library sine; the table is what every caller sees.
    static const std::array<int, 1024> table = [] {
        std::array<int, 1024> t{};
        for (int i = 0; i < 1024; ++i)
            t[i] = static_cast<int>(std::lround(std::sin(i * 6.283185307179586 / 1024.0) * 4096.0));
        return t;
    }();
    return table[static_cast<std::size_t>(Wrap(phase, 1024))];
}

int Sqrt(std::int64_t value) {
    if (value <= 0) return 0;
    std::int64_t r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(value)));
    while (r * r > value) --r;
    while ((r + 1) * (r + 1) <= value) ++r;
    return static_cast<int>(r);
}

} // namespace paint
