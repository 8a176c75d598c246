#include "world/random.h"

#include "platform/clock.h"

namespace {
std::uint32_t seed = 0;
std::optional<std::uint32_t> fixedClockSeed;
} // namespace

void SeedRandom(std::uint32_t value) {
    seed = value;
}

std::uint32_t RandomSeed() {
    return seed;
}

std::int32_t RandomInt(std::int32_t n) {
    seed = seed * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<std::int32_t>(
        (static_cast<std::uint64_t>(seed) * static_cast<std::uint32_t>(n)) >> 32);
}

void SeedRandomFromClock() {
    seed = fixedClockSeed ? *fixedClockSeed : static_cast<std::uint32_t>(GetTickCount());
}

void FixClockSeed(std::optional<std::uint32_t> value) {
    fixedClockSeed = value;
}
