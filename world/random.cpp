#include "world/random.h"

namespace {
std::uint32_t randomSeed = 0;
}

void SeedRandom(std::uint32_t seed) {
    randomSeed = seed;
}

std::uint32_t RandomSeedValue() {
    return randomSeed;
}

std::int32_t RandomInt(std::int32_t n) {
    randomSeed = randomSeed * 134775813u + 1u;
    if (n <= 0) return 0;
    const std::uint64_t product =
        static_cast<std::uint64_t>(randomSeed) * static_cast<std::uint64_t>(n);
    return static_cast<std::int32_t>(product >> 32);
}
