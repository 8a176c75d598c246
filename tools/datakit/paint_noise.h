// Integer noise for the generated pictures: the same bytes on every machine.
// Every function that takes a period wraps there, so a texture whose noise
// periods divide 128 tiles without seams.
#pragma once

#include <cstdint>

namespace paint {

// A well-mixed 32-bit hash of three values.
std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c);

// 0..255 from the hash: per-pixel grain.
int Grain(int x, int y, std::uint32_t seed);

// Smooth value noise 0..255 on a lattice of cells `cellW` x `cellH` pixels,
// wrapping every `period` pixels on both axes (cells must divide the period).
int ValueNoise(int x, int y, int cellW, int cellH, int period, std::uint32_t seed);

// Octaves of value noise from `cell` down, each half the size and weight;
// 0..255 with most values near the middle.
int Fractal(int x, int y, int cell, int octaves, int period, std::uint32_t seed);

// Cellular noise: distances to the nearest and second nearest of one random
// point per `cell` x `cell` square, wrapping every `period` pixels. `id` is
// a hash of the nearest point's square, for per-cell colours.
struct Cells {
    int nearest = 0;
    int second = 0;
    std::uint32_t id = 0;
};
Cells CellNoise(int x, int y, int cell, int period, std::uint32_t seed);

// Sine of a phase in 1024ths of a turn, scaled to -4096..4096.
int Sine(int phase);

// Integer square root (floor).
int Sqrt(std::int64_t value);

} // namespace paint
