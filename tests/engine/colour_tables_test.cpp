#include "engine/colour_tables.h"
#include "engine/nearest_colour.h"
#include "engine/palette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

void setColour(PalettePlanes& p, int i, int r, int g, int b) {
    p[i] = static_cast<std::uint8_t>(r);
    p[256 + i] = static_cast<std::uint8_t>(g);
    p[512 + i] = static_cast<std::uint8_t>(b);
}

PalettePlanes rampPalette() {
    PalettePlanes p{};
    for (int i = 0; i < 256; ++i) {
        const int ramp = i / 16, shade = i % 16;
        setColour(p, i, ((ramp * 53) % 256) * (shade + 1) / 16,
                  ((ramp * 97 + 40) % 256) * (shade + 1) / 16,
                  ((ramp * 151 + 90) % 256) * (shade + 1) / 16);
    }
    return p;
}

// Few distinct colours, repeated all over the palette (entry 255 too), with
// pairs two apart so that half-way targets tie between distinct colours.
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

PalettePlanes greyPalette() {
    PalettePlanes p{};
    for (int i = 0; i < 256; ++i) setColour(p, i, i, i, i);
    return p;
}

void expectFastBuildMatchesDirect(const PalettePlanes& palette) {
    auto fast = std::make_unique<BlendTable>();
    auto direct = std::make_unique<BlendTable>();
    fast->fill(0xAA);
    BuildBlendTable(palette, *fast);
    BuildBlendTableDirect(palette, *direct);
    std::size_t mismatches = 0, first = 0;
    for (std::size_t i = 0; i < direct->size(); ++i) {
        if ((*fast)[i] != (*direct)[i] && mismatches++ == 0) first = i;
    }
    EXPECT_EQ(mismatches, 0u) << "first at level " << first / 65536 << " row " << first / 256 % 256
                              << " column " << first % 256;
}

} // namespace

TEST(BlendChannel, RoundsHalvesToEvenLikeTheRealFormula) {
    for (int e = 0; e <= 16; ++e)
        for (int ca = 0; ca < 256; ++ca)
            for (int cb = 0; cb < 256; ++cb)
                ASSERT_EQ(BlendChannel(ca, cb, e),
                          static_cast<int>(std::nearbyint(ca + (cb - ca) * e / 16.0)))
                    << ca << " " << cb << " " << e;
    EXPECT_EQ(BlendChannel(0, 1, 8), 0); // 0.5
    EXPECT_EQ(BlendChannel(1, 2, 8), 2); // 1.5
}

TEST(NearestColourIndex, AnswersAsThePlainSearchInsideAndOutsideTheCube) {
    std::mt19937 random(7);
    const PalettePlanes palettes[] = {rampPalette(), repeatedPalette(), randomPalette(3)};
    const int ranges[][2] = {{0, 254}, {1, 254}, {0, 255}, {200, 200}, {9, 4}};
    std::uniform_int_distribution<int> inside(0, 255), outside(-100000, 100000);
    for (const PalettePlanes& palette : palettes) {
        for (const auto& range : ranges) {
            NearestColourIndex index;
            BuildNearestColourIndex(palette, range[0], range[1], index);
            for (int n = 0; n < 20000; ++n) {
                const bool far = n % 10 == 0;
                const int r = far ? outside(random) : inside(random);
                const int g = inside(random), b = far ? outside(random) : inside(random);
                ASSERT_EQ(FindNearestColour(index, r, g, b),
                          NearestPaletteEntry(palette, r, g, b, range[0], range[1]))
                    << r << "," << g << "," << b << " in " << range[0] << ".." << range[1];
            }
        }
    }
}

TEST(NearestColourIndex, TieAtTheFarCornerOfACellGoesToTheHigherIndex) {
    // (15, 15, 15), the far corner of the first cell, is as close to entry
    // 10 at black as to entry 20 at (30, 30, 30), which lies outside it.
    PalettePlanes palette{};
    for (int i = 0; i < 256; ++i) setColour(palette, i, 200, 200, 200);
    setColour(palette, 10, 0, 0, 0);
    setColour(palette, 20, 30, 30, 30);
    NearestColourIndex index;
    BuildNearestColourIndex(palette, 0, 254, index);
    EXPECT_EQ(FindNearestColour(index, 15, 15, 15), 20);
    EXPECT_EQ(FindNearestColour(index, 15, 15, 14), 10);
}

TEST(BlendTable, FastBuildEqualsDirectSearchOnRampPalette) {
    expectFastBuildMatchesDirect(rampPalette());
}

TEST(BlendTable, FastBuildEqualsDirectSearchWithManyEqualColoursAndTies) {
    expectFastBuildMatchesDirect(repeatedPalette());
}

TEST(BlendTable, FastBuildEqualsDirectSearchOnRandomAndGreyPalettes) {
    expectFastBuildMatchesDirect(randomPalette(2024));
    expectFastBuildMatchesDirect(greyPalette());
}

TEST(BlendTable, LevelZeroIsTheSourceAndSixteenTheDestination) {
    const PalettePlanes palette = greyPalette();
    auto table = std::make_unique<BlendTable>();
    BuildBlendTable(palette, *table);
    EXPECT_EQ((*table)[0 * 65536 + 40 * 256 + 200], 40);
    EXPECT_EQ((*table)[16 * 65536 + 40 * 256 + 200], 200);
    EXPECT_EQ((*table)[8 * 65536 + 40 * 256 + 200], 120);
    // Entry 255 is never an answer: white blends to 254 in a grey ramp.
    EXPECT_EQ((*table)[0 * 65536 + 255 * 256 + 0], 254);
}

TEST(ShadeTable, FogAtLevelZeroColourZeroKeptAndEveryEntryAsThePlainSearch) {
    const PalettePlanes palette = rampPalette();
    auto table = std::make_unique<ShadeTable>();
    const int fog[3] = {200, 30, 255};
    BuildShadeTableFor(palette, fog[0], fog[1], fog[2], *table);
    const int nearestFog = NearestPaletteEntry(palette, fog[0], fog[1], fog[2], 1, 254);
    for (int level = 0; level < 256; ++level) {
        EXPECT_EQ((*table)[level * 256], 0) << "level " << level;
        for (int c = 1; c < 256; ++c) {
            // Truncation toward zero: the colour side of the fog rounds up
            // when the colour is below the fog.
            const auto toward = [level](int f, int v) { return f + level * (v - f) / 256; };
            const int want = NearestPaletteEntry(palette, toward(fog[0], palette[c]),
                                                 toward(fog[1], palette[256 + c]),
                                                 toward(fog[2], palette[512 + c]), 1, 254);
            ASSERT_EQ((*table)[level * 256 + c], want) << "level " << level << " colour " << c;
            if (level == 0) {
                ASSERT_EQ(want, nearestFog);
            }
        }
    }
}

TEST(ShadeTable, BuildingForTheContextAlsoFillsTheSavedCopy) {
    renderContext.palette = greyPalette();
    renderContext.savedShadeTable->fill(0);
    BuildShadeTable(0, 0, 0);
    EXPECT_EQ((*renderContext.shadeTable)[128 * 256 + 200], 100);
    EXPECT_EQ(*renderContext.savedShadeTable, *renderContext.shadeTable);
    // Far out-of-range fog values neither overflow nor leave the range.
    BuildShadeTable(-2147483647 - 1, 2147483647, 0);
    EXPECT_EQ((*renderContext.shadeTable)[0 * 256 + 9], 1); // nearest to (-inf, +inf, 0)
}
