// Seeding the run-time random generator at start-up: from the tick counter,
// or with a fixed seed for automated runs that must repeat exactly.
#pragma once

#include <cstdint>
#include <optional>

void SeedRandomFromClock();
// Makes SeedRandomFromClock use `seed` (nullopt: the clock again).
void FixClockSeed(std::optional<std::uint32_t> seed);
