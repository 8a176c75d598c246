// Writing 8-bit PCX images in the form the reader takes: a 128-byte header,
// run-length rows without padding, then 0x0C and a 768-byte palette.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/frame_buffer.h"

// The file bytes of a width x height image (both 1..65536). Rows are written
// unpadded, so only even widths are read back by other programs as intended.
// Empty when the sizes are out of range or `pixels` holds fewer than
// width * height bytes.
std::vector<std::uint8_t> EncodePcx(int width, int height, std::span<const std::uint8_t> pixels,
                                    const PalettePlanes& palette);

bool WritePcx(const std::string& file, int width, int height, std::span<const std::uint8_t> pixels,
              const PalettePlanes& palette);
