// Blend table build: the fast build against the plain one-search-per-cell
// build, on a palette of colour ramps (as texture sets use) and a random one.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "engine/colour_tables.h"

namespace {

// 16 ramps of 16 shades each, from dark to light.
PalettePlanes rampPalette() {
    PalettePlanes p{};
    for (int i = 0; i < 256; ++i) {
        const int ramp = i / 16, shade = i % 16;
        p[i] = static_cast<std::uint8_t>(((ramp * 53) % 256) * (shade + 1) / 16);
        p[256 + i] = static_cast<std::uint8_t>(((ramp * 97 + 40) % 256) * (shade + 1) / 16);
        p[512 + i] = static_cast<std::uint8_t>(((ramp * 151 + 90) % 256) * (shade + 1) / 16);
    }
    return p;
}

PalettePlanes randomPalette() {
    std::mt19937 random(12345);
    PalettePlanes p{};
    for (auto& v : p) v = static_cast<std::uint8_t>(random() & 255);
    return p;
}

template <PalettePlanes (*Palette)(), void (*Build)(const PalettePlanes&, BlendTable&)>
void blendBuild(benchmark::State& state) {
    const PalettePlanes palette = Palette();
    auto table = std::make_unique<BlendTable>();
    for (auto _ : state) {
        Build(palette, *table);
        benchmark::DoNotOptimize(table->data());
    }
}

} // namespace

BENCHMARK(blendBuild<rampPalette, BuildBlendTable>)
    ->Name("fast/ramps")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(blendBuild<randomPalette, BuildBlendTable>)
    ->Name("fast/random")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(blendBuild<rampPalette, BuildBlendTableDirect>)
    ->Name("direct/ramps")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(blendBuild<randomPalette, BuildBlendTableDirect>)
    ->Name("direct/random")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
