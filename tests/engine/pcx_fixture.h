// Small 8-bit PCX files for the bank tests: a 128-byte header with Xmax and
// Ymax, one run byte per pixel, then 0x0C and the palette.
#pragma once

#include <cstdint>
#include <vector>

#include "media/frame_buffer.h"

inline std::vector<std::uint8_t> MakePcx(int width, int height,
                                         const std::vector<std::uint8_t>& pixels,
                                         const PalettePlanes& palette) {
    std::vector<std::uint8_t> out(128, 0);
    out[8] = static_cast<std::uint8_t>(width - 1),
    out[9] = static_cast<std::uint8_t>((width - 1) >> 8);
    out[10] = static_cast<std::uint8_t>(height - 1),
    out[11] = static_cast<std::uint8_t>((height - 1) >> 8);
    for (std::uint8_t p : pixels) out.insert(out.end(), {193, p});
    out.push_back(12);
    for (int i = 0; i < 256; ++i)
        out.insert(out.end(), {palette[i], palette[256 + i], palette[512 + i]});
    return out;
}
