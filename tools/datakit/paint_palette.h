// The game palette of the default data set: index 0 is the transparent key,
// then 16 ramps of 16 entries from near black to full brightness. Every
// texture and interface picture is painted in these entries.
#pragma once

#include <cstdint>

#include "media/frame_buffer.h"

namespace paint {

// The ramps, in palette order (ramp k holds entries 16k .. 16k + 15).
enum Ramp : int {
    kGrey = 0,
    kBrick = 1,
    kTerracotta = 2,
    kEarth = 3,
    kGold = 4,
    kGrass = 5,
    kMoss = 6,
    kTeal = 7,
    kSky = 8,
    kDeepBlue = 9,
    kViolet = 10,
    kPink = 11,
    kSkin = 12,
    kWood = 13,
    kSteel = 14,
    kLava = 15,
};

// Entry 0 (the key) and entry 255 (never chosen by the colour tables) are
// not part of any usable ramp level.
constexpr int LowestLevel(int ramp) {
    return ramp == kGrey ? 1 : 0;
}
constexpr int HighestLevel(int ramp) {
    return ramp == kLava ? 14 : 15;
}

// The palette entry of a ramp level, the level clamped to what the ramp has.
std::uint8_t Colour(int ramp, int level);

// All 256 colours as red, green and blue planes.
const PalettePlanes& GamePalette();

} // namespace paint
