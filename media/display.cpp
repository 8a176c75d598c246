#include "media/display.h"

#include <algorithm>
#include <cstring>

bool fullScreenActive = false;

void DisplayStartup() {
    windowMode = true;
    fullScreenActive = false;
}

void MakeBitmapDescription(FrameBuffer& buffer, int width, int height) {
    FreeBitmapDescription(buffer);
    if (width < 1 || height < 1) return;
    buffer.width = width;
    buffer.height = height;
    buffer.pixels.assign(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height + kFrameSpareRows), 0);
}

void FreeBitmapDescription(FrameBuffer& buffer) {
    buffer.width = 0;
    buffer.height = 0;
    buffer.pixels.clear();
    buffer.pixels.shrink_to_fit();
    buffer.colourTable.fill(0);
}

void SetColourTable(FrameBuffer& buffer, const PalettePlanes& palette) {
    for (int i = 0; i < 256; ++i) {
        buffer.colourTable[4 * i] = palette[512 + i];
        buffer.colourTable[4 * i + 1] = palette[256 + i];
        buffer.colourTable[4 * i + 2] = palette[i];
        buffer.colourTable[4 * i + 3] = 1;
    }
}

void ApplyPalette(FrameBuffer& buffer, const PalettePlanes& palette) {
    SetColourTable(buffer, palette);
}

bool FullScreenAllowed(const FrameBuffer& buffer) {
    return buffer.width >= kMinFullScreenWidth;
}

bool FrameBufferUsable(const FrameBuffer& buffer) {
    if (buffer.width < 1 || buffer.height < 1) return false;
    return buffer.pixels.size() >= static_cast<std::size_t>(buffer.width) *
                                       static_cast<std::size_t>(buffer.height + kFrameSpareRows);
}

std::vector<std::uint8_t> ComposePresentedFrame(const FrameBuffer& buffer,
                                                const FrameBuffer* stereo) {
    if (!FrameBufferUsable(buffer)) return {};
    const std::size_t w = static_cast<std::size_t>(buffer.width);
    const std::size_t h = static_cast<std::size_t>(buffer.height);
    const std::size_t count = w * h;

    std::vector<std::uint8_t> merged(buffer.pixels.begin(), buffer.pixels.begin() + count);
    if (stereo && stereo->width == buffer.width && stereo->height == buffer.height &&
        stereo->pixels.size() >= count) {
        for (std::size_t i = 0; i < count; ++i)
            merged[i] = static_cast<std::uint8_t>(merged[i] + 16 * stereo->pixels[i]);
    }

    if (!windowMode) {
        // The buffer is already top-down. The copy covers all rows but the
        // last, in whole 4-byte words; what follows is black.
        std::vector<std::uint8_t> screen(count, 0);
        const std::size_t copied = (w * (h - 1)) & ~static_cast<std::size_t>(3);
        std::memcpy(screen.data(), merged.data(), copied);
        return screen;
    }

    std::vector<std::uint8_t> screen(count);
    for (std::size_t y = 0; y < h; ++y)
        std::memcpy(screen.data() + y * w, merged.data() + (h - 1 - y) * w, w);
    return screen;
}
