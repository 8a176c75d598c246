// Feeds arbitrary bytes to the PCX decoder, then remaps and draws what it
// accepts, so that any size it lets through is also safe downstream.
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/pcx.h"
#include "media/display.h"
#include "media/image_blit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PcxImage image;
    std::string error;
    if (!DecodePcx(std::span<const std::uint8_t>(data, size), image, &error)) return 0;
    if (image.pixels.size() !=
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        __builtin_trap();

    RemapPixels(image.pixels, PaletteRemap(image.palette, image.palette));
    static FrameBuffer buffer;
    if (buffer.width == 0) MakeBitmapDescription(buffer, 64, 48);
    static std::uint8_t remap[256], mixing[256 * 256];
    const int x = size > 4 ? static_cast<std::int8_t>(data[4]) : 0;
    const int y = size > 5 ? static_cast<std::int8_t>(data[5]) : 0;
    BlitScaledImage({image.pixels, image.width, image.height}, x, y, image.width / 4 + 1,
                    image.height / 4 + 1, true, remap, mixing, buffer);
    return 0;
}
