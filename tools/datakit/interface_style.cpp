#include "interface_style.h"

#include <algorithm>
#include <array>

#include "paint_noise.h"
#include "paint_palette.h"

namespace paint {

std::uint8_t Shade(int ramp, int value, int x, int y) {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    value = std::clamp(value, 0, 255);
    return Colour(ramp, (value + kBayer[y & 3][x & 3]) / 16);
}

int BrushedSteel(int x, int y, std::uint32_t seed) {
    return (ValueNoise(x, y, 32, 1, 1024, seed) - 128) / 8 + (Grain(x, y, seed + 1) - 128) / 20;
}

void PaintPlate(Image& image, int x0, int y0, int x1, int y1, int ramp, int value, int bevel,
                std::uint32_t seed) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int v = value + BrushedSteel(x, y, seed);
            const int fromLit = std::min(x - x0, y - y0), fromDark = std::min(x1 - x, y1 - y);
            if (fromLit < bevel && fromLit <= fromDark)
                v += 56 - fromLit * 40 / std::max(bevel, 1);
            else if (fromDark < bevel)
                v -= 56 - fromDark * 40 / std::max(bevel, 1);
            image.Put(x, y, Shade(ramp, v, x, y));
        }
}

void PaintWell(Image& image, int x0, int y0, int x1, int y1, int ramp, int value, int bevel) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int v = value;
            const int fromTop = std::min(x - x0, y - y0), fromBottom = std::min(x1 - x, y1 - y);
            if (fromTop < bevel && fromTop <= fromBottom)
                v -= 24;
            else if (fromBottom < bevel)
                v += 40;
            image.Put(x, y, Shade(ramp, v, x, y));
        }
}

void PaintRivet(Image& image, int cx, int cy, int r, int ramp) {
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 > r * r) continue;
            // Brightest toward the upper left, a dark rim at the lower right.
            int v = 150 - (dx + dy) * 70 / std::max(r, 1);
            if (d2 > (r - 1) * (r - 1) && dx + dy > 0) v = 40;
            image.Put(cx + dx, cy + dy, Shade(ramp, v, cx + dx, cy + dy));
        }
    // A shadow below and right of the head.
    for (int d = 0; d <= r; ++d) {
        const int x = cx + r + 1 - d / 2, y = cy + d / 2 + 1;
        if (image.Get(x, y) != 0) image.Put(x, y, Colour(ramp, 2));
    }
}

std::uint8_t GoldRow(int row) {
    static constexpr std::array<int, 13> kLevels{15, 15, 14, 14, 13, 13, 12, 12, 11, 11, 10, 10, 9};
    return Colour(kGold, kLevels[static_cast<std::size_t>(std::clamp(row, 0, 12))]);
}

void PaintGoldText(Image& image, Font font, std::string_view text, int x, int y, int scale) {
    PaintText(image, font, text, x, y, scale, GoldRow, Colour(kEarth, 1));
}

} // namespace paint
