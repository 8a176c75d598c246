// The run-time random generator shared by the game and the editor: a linear
// congruential sequence whose draws depend only on the seed, so that a level
// (whose file carries a seed) plays the same way on every machine.
#pragma once

#include <cstdint>

void SeedRandom(std::uint32_t seed);
std::uint32_t RandomSeedValue();

// The next number in [0, n): the seed advances to seed * 134775813 + 1
// (modulo 2^32) and the result is the high 32 bits of seed * n. Gives 0 when
// n is 0 or negative.
std::int32_t RandomInt(std::int32_t n);
