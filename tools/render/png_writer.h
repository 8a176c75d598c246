// A small PNG encoder: 8-bit RGB rows deflated by zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width * height * 3 bytes, top row first. Empty when the sizes
// do not match the pixels or zlib fails.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// Encodes and writes through a temporary file renamed into place; false when
// the picture cannot be encoded or the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
