#include "paint_texture.h"

#include <algorithm>

#include "paint_palette.h"

namespace paint {

Field Emboss(const Field& height, int strength) {
    Field out;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            out(x, y) = (height(x + 1, y + 1) - height(x - 1, y - 1)) * strength / 16;
    return out;
}

void AddLight(TextureCanvas& c, const Field& height, int strength) {
    const Field light = Emboss(height, strength);
    for (std::size_t i = 0; i < light.v.size(); ++i) c.value.v[i] += light.v[i];
}

void Dome(Field& height, int cx, int cy, int r, int amount) {
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 <= r * r)
                height(cx + dx, cy + dy) += (r * r - d2) * amount / (r * r) + amount / 2;
        }
}

int Inset(int x, int y, int x0, int y0, int x1, int y1) {
    return std::min({x - x0, x1 - x, y - y0, y1 - y});
}

std::vector<std::uint8_t> Finish(const TextureCanvas& canvas) {
    // A 4 x 4 ordered dither spreads each brightness between two levels.
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<std::uint8_t> pixels(kPixels);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * kSide + x);
            if (canvas.clear.v[i]) {
                pixels[i] = 0;
                continue;
            }
            const int v = std::clamp(canvas.value.v[i], 0, 255);
            pixels[i] = Colour(canvas.ramp.v[i], (v + kBayer[y & 3][x & 3]) / 16);
        }
    }
    return pixels;
}

} // namespace paint
