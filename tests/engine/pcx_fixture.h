// Small 8-bit PCX files for the bank tests: run-length pixel data and the
// 768-byte palette at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "media/frame_buffer.h"

inline std::vector<std::uint8_t> MakePcx(int width, int height,
                                         const std::vector<std::uint8_t>& pixels,
                                         const PalettePlanes& palette) {
    std::vector<std::uint8_t> out(128, 0);
    out[0] = 10;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    out[8] = static_cast<std::uint8_t>((width - 1) & 255);
    out[9] = static_cast<std::uint8_t>((width - 1) >> 8);
    out[10] = static_cast<std::uint8_t>((height - 1) & 255);
    out[11] = static_cast<std::uint8_t>((height - 1) >> 8);
    out[65] = 1;
    for (std::size_t i = 0; i < pixels.size();) {
        std::size_t run = 1;
        while (i + run < pixels.size() && pixels[i + run] == pixels[i] && run < 63) ++run;
        if (run > 1 || pixels[i] >= 192) {
            out.push_back(static_cast<std::uint8_t>(192 + run));
        }
        out.push_back(pixels[i]);
        i += run;
    }
    out.push_back(12);
    for (int i = 0; i < 256; ++i) {
        out.push_back(palette[i]);
        out.push_back(palette[256 + i]);
        out.push_back(palette[512 + i]);
    }
    return out;
}
