// An interface picture being painted: palette entries, row-major, with
// clipped pixel access.
#pragma once

#include <cstdint>
#include <vector>

namespace paint {

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;

    Image() = default;
    Image(int w, int h, std::uint8_t fill = 0)
        : width(w), height(h),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint8_t Get(int x, int y) const {
        return Inside(x, y) ? pixels[static_cast<std::size_t>(y * width + x)] : 0;
    }
    void Put(int x, int y, std::uint8_t colour) {
        if (Inside(x, y)) pixels[static_cast<std::size_t>(y * width + x)] = colour;
    }
};

} // namespace paint
