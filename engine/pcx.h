// Reading 8-bit PCX images: run-length pixels from offset 128 and a
// 256-colour palette in the last 768 bytes of the file. Pictures are at most
// 4096 pixels on each side: textures are 128 x 128 and the interface pictures
// at most 900 wide, so nothing larger is ever decoded (at 65535 x 65535 a
// picture would take 4 GB).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/frame_buffer.h"
#include "platform/loaded.h"

class FileReader;

constexpr std::size_t kPcxHeaderSize = 128;
constexpr std::size_t kPcxPaletteSize = 768;
constexpr int kPcxMaxSide = 4096;

struct PcxImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels; // width * height palette indices, row-major
    PalettePlanes palette{};          // the file's own colours
};

// Width and height from the header's Xmax (offset 8) and Ymax (offset 10);
// false when the data is too short to hold them.
bool ReadPcxSize(std::span<const std::uint8_t> data, int& width, int& height);

// Decodes the bytes of a whole file. Run data that ends early gives the
// pixels it reaches and leaves the rest colour 0. Refused, with the reason as
// the error ("pixel data too short for 4 x 2 pixels"), before anything is
// allocated for the pixels: a file too short for its header and palette, a
// size its pixel data cannot hold (two bytes make at most 63 pixels) and a
// side above kPcxMaxSide.
Loaded<PcxImage> DecodePcxBytes(std::span<const std::uint8_t> data);

// The same from a file, reading the header, the palette at its end and, of
// the pixel data, at most two bytes per pixel: nothing past what the picture
// can use. A file that cannot be opened or read gives "cannot be read".
Loaded<PcxImage> DecodePcxFromFile(const FileReader& file);
Loaded<PcxImage> DecodePcxFromFile(const std::string& file);

// The same, into `out`; on failure `error` (when given) says why, and `out`
// is left unchanged.
bool DecodePcx(std::span<const std::uint8_t> data, PcxImage& out, std::string* error);
bool DecodePcxFile(const std::string& file, PcxImage& out, std::string* error);

// Decodes into the caller's buffer, which must be exactly width * height
// bytes of the image, and hands back the file's palette.
bool ReadPcx(const std::string& file, std::span<std::uint8_t> pixels, PalettePlanes& palette,
             std::string* error);

// Reads an image of the given size and remaps it onto `palette`.
bool ReadPcxRemapped(const std::string& file, std::span<std::uint8_t> pixels, int width, int height,
                     const PalettePlanes& palette, std::string* error);

using ColourMap = std::array<std::uint8_t, 256>;

// Colour 0 stays 0 (transparent); every other colour of `from` goes to the
// nearest of entries 1..254 of `to`, so entry 255 is never chosen.
ColourMap PaletteRemap(const PalettePlanes& from, const PalettePlanes& to);
void RemapPixels(std::span<std::uint8_t> pixels, const ColourMap& map);
