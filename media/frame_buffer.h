// The 8-bit frame buffer every frame is drawn into: one palette index per
// pixel, W bytes a row, with 5 spare rows below the picture for the rasterizer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

constexpr int kFrameSpareRows = 5;

// 256 reds, then 256 greens, then 256 blues.
using PalettePlanes = std::array<std::uint8_t, 768>;

struct FrameBuffer {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels; // width * (height + kFrameSpareRows)
    // Colour table (blue, green, red, reserved) per palette entry.
    std::array<std::uint8_t, 1024> colourTable{};
};

// True in window mode: buffers are bottom-up (screen row y at buffer row
// H - 1 - y); false in full screen, where they are top-down.
extern bool windowMode;
