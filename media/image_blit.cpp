#include "media/image_blit.h"

#include <algorithm>

#include "media/display.h"

void BlitScaledImage(const BlitImage& image, int x, int y, int width, int height, bool transparent,
                     const std::uint8_t* remap, const std::uint8_t* mixing, FrameBuffer& buffer) {
    if (!remap || !mixing || !FrameBufferUsable(buffer)) return;
    if (image.width < 1 || image.height < 1 ||
        image.pixels.size() <
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return;
    if (width < 1 || height < 1) return;

    const std::int64_t w = buffer.width, h = buffer.height;
    const std::int64_t right = std::int64_t{x} + width, bottom = std::int64_t{y} + height;
    if (x >= w || right < 0 || y >= h || bottom < 0) return;
    // The last column and row of the buffer are never drawn.
    const std::int64_t firstCol = std::max<std::int64_t>(x, 0);
    const std::int64_t endCol = std::min(right, w - 1);
    const std::int64_t firstRow = std::max<std::int64_t>(y, 0);
    const std::int64_t endRow = std::min(bottom, h - 1);
    if (firstCol >= endCol || firstRow >= endRow) return;

    // 8.8 fixed-point walk through the source. A clipped start begins at the
    // whole source row and column the first drawn pixel falls in, with no
    // fraction: the walk restarts at that index's left/top edge, so a picture
    // scrolling off the top or left shifts by whole source pixels.
    const std::int64_t iw = image.width, ih = image.height;
    const std::int64_t colStep = iw * 256 / width;
    const std::int64_t rowStep = ih * 256 / height;
    const std::int64_t firstSrcCol = iw * (firstCol - x) / width * 256;
    std::int64_t srcRow = ih * (firstRow - y) / height * 256;

    for (std::int64_t row = firstRow; row < endRow; ++row, srcRow += rowStep) {
        const std::int64_t bufferRow = windowMode ? h - 1 - row : row;
        std::uint8_t* out = buffer.pixels.data() + bufferRow * w;
        const std::uint8_t* src = image.pixels.data() + std::min(srcRow >> 8, ih - 1) * iw;
        std::int64_t srcCol = firstSrcCol;
        for (std::int64_t col = firstCol; col < endCol; ++col, srcCol += colStep) {
            const std::uint8_t s = src[std::min(srcCol >> 8, iw - 1)];
            if (transparent && s == 0) continue;
            out[col] = mixing[remap[s] * 256 + out[col]];
        }
    }
}
