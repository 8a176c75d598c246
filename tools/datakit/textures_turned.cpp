#include "textures_turned.h"

#include <algorithm>

#include "paint_texture.h"

const std::vector<int>& DirectionalTextures() {
    // Bricks, stone, earth, grass side, planks, metal, crate, key block,
    // mossy stone, rock and the rooted soil.
    static const std::vector<int> textures = {1, 2, 3, 5, 6, 7, 8, 14, 23, 24, 27};
    return textures;
}

std::vector<std::uint8_t> QuarterTurned(const std::vector<std::uint8_t>& image) {
    constexpr int kSide = paint::kSide;
    if (image.size() != static_cast<std::size_t>(paint::kPixels)) return image;
    std::vector<std::uint8_t> turned(image.size());
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) turned[r * kSide + c] = image[(kSide - 1 - c) * kSide + r];
    return turned;
}

std::vector<std::uint8_t> HalfTurned(const std::vector<std::uint8_t>& image) {
    return std::vector<std::uint8_t>(image.rbegin(), image.rend());
}
