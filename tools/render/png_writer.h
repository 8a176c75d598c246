// A minimal PNG encoder: 8-bit RGB, no compression (stored deflate blocks),
// enough for pictures that are looked at, not shipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width * height * 3 bytes, top row first.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
