#include "engine/pcx.h"

#include <algorithm>

#include "engine/palette.h"
#include "platform/files.h"

namespace {

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

bool ReadPcxSize(std::span<const std::uint8_t> data, int& width, int& height) {
    if (data.size() < 12) return false;
    width = (data[8] | data[9] << 8) + 1;
    height = (data[10] | data[11] << 8) + 1;
    return true;
}

bool DecodePcx(std::span<const std::uint8_t> data, PcxImage& out, std::string* error) {
    if (data.size() < kPcxHeaderSize + kPcxPaletteSize) {
        SetError(error, "too short for a PCX header and palette (" + std::to_string(data.size()) +
                            " bytes)");
        return false;
    }
    int width = 0, height = 0;
    ReadPcxSize(data, width, height);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

    // The run-length data lies between the header and the palette. Two bytes
    // make at most 63 pixels, so a header that promises more than the data can
    // hold is refused before anything is allocated for it.
    const std::span<const std::uint8_t> packed =
        data.subspan(kPcxHeaderSize, data.size() - kPcxHeaderSize - kPcxPaletteSize);
    const std::size_t mostPixels = packed.size() / 2 * 63 + packed.size() % 2;
    if (count > mostPixels) {
        SetError(error, "pixel data too short for " + SizeText(width, height) + " pixels");
        return false;
    }

    std::vector<std::uint8_t> pixels(count);
    std::size_t produced = 0, at = 0;
    while (produced < count && at < packed.size()) {
        const std::uint8_t b = packed[at++];
        if (b < 192) {
            pixels[produced++] = b;
            continue;
        }
        if (at == packed.size()) break; // a run without its colour byte
        const std::uint8_t colour = packed[at++];
        // A run that would pass the end of the picture is cut there.
        const std::size_t run = std::min<std::size_t>(b - 192, count - produced);
        std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(produced), run, colour);
        produced += run;
    }
    if (produced < count) {
        SetError(error, "pixel data ends after " + std::to_string(produced) + " of " +
                            std::to_string(count) + " pixels");
        return false;
    }

    const std::uint8_t* colours = data.data() + data.size() - kPcxPaletteSize;
    for (int i = 0; i < 256; ++i) {
        out.palette[i] = colours[3 * i];
        out.palette[256 + i] = colours[3 * i + 1];
        out.palette[512 + i] = colours[3 * i + 2];
    }
    out.width = width;
    out.height = height;
    out.pixels = std::move(pixels);
    return true;
}

bool DecodePcxFile(const std::string& file, PcxImage& out, std::string* error) {
    const auto data = ReadWholeFile(file);
    if (!data) {
        SetError(error, "cannot be read");
        return false;
    }
    return DecodePcx(*data, out, error);
}

bool ReadPcx(const std::string& file, std::span<std::uint8_t> pixels, PalettePlanes& palette,
             std::string* error) {
    PcxImage image;
    if (!DecodePcxFile(file, image, error)) return false;
    if (image.pixels.size() != pixels.size()) {
        SetError(error, "is " + SizeText(image.width, image.height) + " pixels, not the " +
                            std::to_string(pixels.size()) + " expected");
        return false;
    }
    std::copy(image.pixels.begin(), image.pixels.end(), pixels.begin());
    palette = image.palette;
    return true;
}

bool ReadPcxRemapped(const std::string& file, std::span<std::uint8_t> pixels, int width, int height,
                     const PalettePlanes& palette, std::string* error) {
    PcxImage image;
    if (!DecodePcxFile(file, image, error)) return false;
    if (image.width != width || image.height != height ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        SetError(error, "is " + SizeText(image.width, image.height) + " pixels, not the " +
                            SizeText(width, height) + " expected");
        return false;
    }
    RemapPixels(image.pixels, PaletteRemap(image.palette, palette));
    std::copy(image.pixels.begin(), image.pixels.end(), pixels.begin());
    return true;
}

ColourMap PaletteRemap(const PalettePlanes& from, const PalettePlanes& to) {
    ColourMap map{};
    for (int c = 1; c < 256; ++c)
        map[c] = static_cast<std::uint8_t>(
            NearestPaletteEntry(to, from[c], from[256 + c], from[512 + c], 1, 254));
    return map;
}

void RemapPixels(std::span<std::uint8_t> pixels, const ColourMap& map) {
    for (auto& p : pixels) p = map[p];
}
