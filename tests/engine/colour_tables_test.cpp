#include "engine/colour_tables.h"
#include "engine/nearest_colour.h"
#include "engine/palette.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

void setColour(PalettePlanes& p, int i, int r, int g, int b) {
    p[i] = static_cast<std::uint8_t>(r);
    p[256 + i] = static_cast<std::uint8_t>(g);
    p[512 + i] = static_cast<std::uint8_t>(b);
}

// 16 ramps of 16 shades, as texture sets tend to use.
PalettePlanes rampPalette() {
    PalettePlanes p{};
    for (int i = 0; i < 256; ++i) {
        const int ramp = i / 16, shade = i % 16 + 1;
        setColour(p, i, (ramp * 53 % 256) * shade / 16, ((ramp * 97 + 40) % 256) * shade / 16,
                  ((ramp * 151 + 90) % 256) * shade / 16);
    }
    return p;
}

// Few colours repeated all over (entry 255 too), with pairs two apart so
// that half-way targets tie between distinct colours.
PalettePlanes repeatedPalette() {
    const int colours[][3] = {{0, 0, 0},     {2, 0, 0},     {1, 1, 0},     {255, 255, 255},
                              {128, 64, 32}, {130, 64, 32}, {129, 65, 31}, {7, 200, 9}};
    PalettePlanes p{};
    for (int i = 0; i < 256; ++i) {
        const int* c = colours[(i * 5 + i / 7) % 8];
        setColour(p, i, c[0], c[1], c[2]);
    }
    return p;
}

PalettePlanes randomPalette(unsigned seed) {
    std::mt19937 random(seed);
    PalettePlanes p{};
    for (auto& v : p) v = static_cast<std::uint8_t>(random() & 255);
    return p;
}

} // namespace

TEST(NearestColourIndex, TiesAtCellCornersAndTargetsOutsideTheCube) {
    // (15, 15, 15), the far corner of the first cell, is as close to entry
    // 10 at black as to entry 20 at (30, 30, 30), which lies outside it.
    PalettePlanes palette = randomPalette(3);
    setColour(palette, 10, 0, 0, 0);
    setColour(palette, 20, 30, 30, 30);
    for (int i = 21; i < 256; ++i) setColour(palette, i, 200, 200, 200);
    NearestColourIndex index;
    BuildNearestColourIndex(palette, 0, 254, index);
    EXPECT_EQ(FindNearestColour(index, 15, 15, 15), 20);
    EXPECT_EQ(FindNearestColour(index, 15, 15, 14), 10);
    for (const int far : {-100000, -1, 256, 70000})
        EXPECT_EQ(FindNearestColour(index, far, 128, -far),
                  NearestPaletteEntry(palette, far, 128, -far, 0, 254));
    BuildNearestColourIndex(palette, 9, 4, index); // empty range: its first
    EXPECT_EQ(FindNearestColour(index, 1, 2, 3), 9);
}

// One test per palette, so that they run side by side.
class BlendTableBuild : public testing::TestWithParam<PalettePlanes (*)()> {};

TEST_P(BlendTableBuild, FastBuildEqualsDirectSearch) {
    const PalettePlanes palette = GetParam()();
    auto fast = std::make_unique<BlendTable>(), direct = std::make_unique<BlendTable>();
    fast->fill(0xAA);
    BuildBlendTable(palette, *fast);
    BuildBlendTableDirect(palette, *direct);
    const auto diff = std::mismatch(direct->begin(), direct->end(), fast->begin()).first;
    const auto at = diff - direct->begin();
    EXPECT_EQ(diff, direct->end())
        << "level " << at / 65536 << " row " << at / 256 % 256 << " column " << at % 256;
}

INSTANTIATE_TEST_SUITE_P(Palettes, BlendTableBuild,
                         testing::Values(rampPalette, repeatedPalette,
                                         [] { return randomPalette(2024); }));

TEST(ShadeTable, FogAtLevelZeroColourZeroKeptAndEveryEntryAsThePlainSearch) {
    renderContext.palette = rampPalette();
    const PalettePlanes& palette = renderContext.palette;
    const int fog[3] = {200, 30, 255};
    BuildShadeTable(fog[0], fog[1], fog[2]);
    const ShadeTable& table = *renderContext.shadeTable;
    EXPECT_EQ(*renderContext.savedShadeTable, table);
    const int nearestFog = NearestPaletteEntry(palette, fog[0], fog[1], fog[2], 1, 254);
    // Divisions truncate toward zero, also where the colour is below the fog.
    const auto toward = [](int f, int v, int level) { return f + level * (v - f) / 256; };
    for (int level = 0; level < 256; ++level) {
        ASSERT_EQ(table[level * 256], 0) << "level " << level;
        for (int c = 1; c < 256; ++c) {
            const int want = NearestPaletteEntry(palette, toward(fog[0], palette[c], level),
                                                 toward(fog[1], palette[256 + c], level),
                                                 toward(fog[2], palette[512 + c], level), 1, 254);
            ASSERT_EQ(table[level * 256 + c], want) << "level " << level << " colour " << c;
            if (level == 0) {
                ASSERT_EQ(want, nearestFog);
            }
        }
    }
    // Far out-of-range fog values neither overflow nor leave the range.
    for (int i = 0; i < 256; ++i) setColour(renderContext.palette, i, i, i, i);
    BuildShadeTable(-2147483647 - 1, 2147483647, 0);
    EXPECT_EQ(table[9], 1); // the grey nearest to (-inf, +inf, 0)
}

TEST(ShadeTable, AskedAgainItFollowsEveryChangeOfPaletteAndFog) {
    auto expected = std::make_unique<ShadeTable>();
    const auto builds = [&](const PalettePlanes& palette, int r, int g, int b) {
        renderContext.palette = palette;
        renderContext.shadeTable->fill(7); // as the stereoscopic view leaves it
        BuildShadeTable(r, g, b);
        BuildShadeTableFor(palette, r, g, b, *expected);
        EXPECT_EQ(*renderContext.shadeTable, *expected) << r << " " << g << " " << b;
        EXPECT_EQ(*renderContext.savedShadeTable, *expected) << r << " " << g << " " << b;
    };
    builds(rampPalette(), 10, 20, 30);
    builds(rampPalette(), 10, 20, 30);
    builds(randomPalette(7), 10, 20, 30);
    builds(randomPalette(7), 10, 20, 31);
    builds(rampPalette(), 10, 20, 30);
}
