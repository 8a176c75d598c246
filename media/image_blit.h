// The stretched blit that interface pictures and glyphs are drawn with.
#pragma once

#include <cstdint>
#include <span>

#include "media/frame_buffer.h"

// A picture of palette indices, row-major, `width` bytes a row.
struct BlitImage {
    std::span<const std::uint8_t> pixels;
    int width = 0;
    int height = 0;
};

// Draws `image` stretched onto the rectangle (x, y, width, height) of the
// buffer, in screen rows (turned over in window mode). Each drawn pixel
// becomes mixing[remap[source] * 256 + current]; with `transparent` set,
// source colour 0 leaves the pixel alone. The rectangle is clipped to the
// columns 0..W-2 and rows 0..H-2. An image whose pixels fall short of its
// size, an empty rectangle or an unusable buffer draws nothing.
void BlitScaledImage(const BlitImage& image, int x, int y, int width, int height, bool transparent,
                     const std::uint8_t* remap, const std::uint8_t* mixing, FrameBuffer& buffer);
