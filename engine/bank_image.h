// Decoding of one 8-bit PCX file into pixels and its own palette, as the
// texture bank needs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/frame_buffer.h"

struct PcxImage {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint8_t> pixels; // width * height, row-major
    PalettePlanes palette{};          // the file's 256 colours as three planes
};

// False with a short reason in `error` when the file cannot be read or its
// data does not hold the picture its header announces.
bool DecodePcxFile(const std::string& file, PcxImage& out, std::string* error);
