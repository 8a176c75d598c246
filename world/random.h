// The run-time random generator: one linear congruential generator shared by
// everything that draws random numbers (transition styles, sentries, new
// levels). A level start seeds it with the level's seed, so a level plays the
// same way every time.
#pragma once

#include <cstdint>
#include <optional>

void SeedRandom(std::uint32_t seed);
std::uint32_t RandomSeed();

// Advances the seed (seed * 134775813 + 1, modulo 2^32) and returns the high
// 32 bits of seed * n: an integer in [0, n). Returns 0 (after advancing) when
// n is 0 or negative, where the range would be empty.
std::int32_t RandomInt(std::int32_t n);

// Seeds from the tick counter, or with the fixed seed set by FixClockSeed
// (automated runs that must repeat exactly).
void SeedRandomFromClock();
void FixClockSeed(std::optional<std::uint32_t> seed);
