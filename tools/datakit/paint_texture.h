// The 128 x 128 texture canvas: each pixel holds a ramp and a brightness
// within it, finished into palette entries with a light ordered dither so
// that gradients stay smooth in 16 levels.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace paint {

constexpr int kSide = 128;
constexpr int kPixels = kSide * kSide;

inline int WrapSide(int v) {
    return v & (kSide - 1);
}

// A per-pixel integer field (heights, masks), addressed with wrapping.
struct Field {
    std::array<int, kPixels> v{};
    int& operator()(int x, int y) {
        return v[static_cast<std::size_t>(WrapSide(y) * kSide + WrapSide(x))];
    }
    int operator()(int x, int y) const {
        return v[static_cast<std::size_t>(WrapSide(y) * kSide + WrapSide(x))];
    }
};

struct TextureCanvas {
    Field ramp;  // 0..15
    Field value; // brightness, 16 per ramp level (0..255)
    Field clear; // non-zero: the pixel is colour 0, see-through

    void Set(int x, int y, int r, int v) {
        ramp(x, y) = r;
        value(x, y) = v;
    }
};

// Light falling from the upper left on a height field: positive where the
// surface faces the light, negative where it turns away. Wraps at the edges.
Field Emboss(const Field& height, int strength);

// Adds the light of Emboss(height, strength) to the canvas's brightness.
void AddLight(TextureCanvas& c, const Field& height, int strength);

// A domed head (nail, rivet, bolt) of radius r raised on a height field.
void Dome(Field& height, int cx, int cy, int r, int amount);

// Distance from (x, y) to the border of the rectangle x0..x1, y0..y1;
// negative outside.
int Inset(int x, int y, int x0, int y0, int x1, int y1);

// A texture's palette entries, row-major.
std::vector<std::uint8_t> Finish(const TextureCanvas& canvas);

// Squared distance helpers for round shapes, with wrapping offsets.
inline int Dist2(int x, int y, int cx, int cy) {
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy;
}

} // namespace paint
