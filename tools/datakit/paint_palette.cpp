#include "paint_palette.h"

#include <algorithm>
#include <array>

namespace paint {

namespace {

struct Rgb {
    int r, g, b;
};

// Each ramp runs through four anchors at levels 0, 5, 10 and 15: a tinted
// near black, a dark tone, the surface colour and a pale highlight. The
// gentle curve keeps the dark levels apart, which the fog and distance
// shading lean on.
struct RampAnchors {
    Rgb dark, low, base, high;
};

constexpr std::array<RampAnchors, 16> kRamps{{
    {{10, 10, 11}, {62, 62, 66}, {142, 142, 146}, {236, 236, 240}}, // grey
    {{16, 5, 4}, {86, 24, 18}, {168, 58, 40}, {246, 158, 126}},     // brick red
    {{18, 8, 3}, {104, 46, 16}, {204, 104, 46}, {255, 204, 148}},   // terracotta
    {{13, 8, 5}, {64, 40, 24}, {130, 88, 56}, {220, 180, 132}},     // earth
    {{20, 13, 2}, {114, 74, 10}, {220, 168, 36}, {255, 246, 176}},  // gold
    {{5, 13, 4}, {30, 76, 20}, {82, 150, 44}, {206, 244, 136}},     // grass
    {{10, 11, 4}, {56, 60, 20}, {118, 122, 50}, {218, 220, 146}},   // moss
    {{3, 13, 14}, {12, 72, 76}, {40, 148, 150}, {176, 250, 242}},   // teal
    {{7, 13, 24}, {40, 76, 128}, {96, 158, 220}, {224, 242, 255}},  // sky
    {{4, 5, 20}, {20, 28, 96}, {48, 68, 176}, {164, 184, 255}},     // deep blue
    {{11, 5, 19}, {62, 28, 100}, {128, 66, 192}, {230, 196, 255}},  // violet
    {{17, 4, 11}, {100, 20, 62}, {206, 66, 138}, {255, 204, 232}},  // pink
    {{19, 11, 8}, {104, 64, 44}, {212, 152, 116}, {255, 230, 206}}, // skin
    {{14, 7, 3}, {76, 42, 18}, {150, 96, 50}, {238, 194, 134}},     // wood
    {{8, 10, 13}, {50, 58, 72}, {112, 124, 144}, {222, 232, 246}},  // steel
    {{22, 4, 1}, {136, 26, 4}, {234, 96, 12}, {255, 240, 128}},     // lava
}};

int Mix(int a, int b, int step, int steps) {
    // Rounded to nearest; all values are non-negative.
    return (a * (steps - step) + b * step + steps / 2) / steps;
}

Rgb RampColour(const RampAnchors& ramp, int level) {
    const Rgb* from = &ramp.dark;
    const Rgb* to = &ramp.low;
    int step = level;
    if (level >= 10) {
        from = &ramp.base;
        to = &ramp.high;
        step = level - 10;
    } else if (level >= 5) {
        from = &ramp.low;
        to = &ramp.base;
        step = level - 5;
    }
    return {Mix(from->r, to->r, step, 5), Mix(from->g, to->g, step, 5),
            Mix(from->b, to->b, step, 5)};
}

PalettePlanes BuildPalette() {
    PalettePlanes planes{};
    for (int k = 0; k < 16; ++k) {
        for (int level = 0; level < 16; ++level) {
            const Rgb c = RampColour(kRamps[k], level);
            const int index = k * 16 + level;
            planes[index] = static_cast<std::uint8_t>(c.r);
            planes[256 + index] = static_cast<std::uint8_t>(c.g);
            planes[512 + index] = static_cast<std::uint8_t>(c.b);
        }
    }
    // The key is black; 255 is never chosen, white keeps it apart from the rest.
    planes[0] = planes[256] = planes[512] = 0;
    planes[255] = planes[511] = planes[767] = 255;
    return planes;
}

} // namespace

std::uint8_t Colour(int ramp, int level) {
    ramp = std::clamp(ramp, 0, 15);
    level = std::clamp(level, LowestLevel(ramp), HighestLevel(ramp));
    return static_cast<std::uint8_t>(ramp * 16 + level);
}

const PalettePlanes& GamePalette() {
    static const PalettePlanes palette = BuildPalette();
    return palette;
}

} // namespace paint
