#include "paint_texture.h"

#include <algorithm>

#include "paint_palette.h"

namespace paint {

Field Emboss(const Field& height, int strength) {
    Field out;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            out(x, y) = (height(x - 1, y - 1) - height(x + 1, y + 1)) * strength / 16;
    return out;
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
