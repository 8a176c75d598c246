#include "world/random_clock.h"

#include "platform/clock.h"
#include "world/random.h"

namespace {
std::optional<std::uint32_t> fixedSeed;
} // namespace

void SeedRandomFromClock() {
    SeedRandom(fixedSeed ? *fixedSeed : static_cast<std::uint32_t>(GetTickCount()));
}

void FixClockSeed(std::optional<std::uint32_t> seed) {
    fixedSeed = seed;
}
