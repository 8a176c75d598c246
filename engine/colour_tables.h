// The colour tables every drawn pixel goes through: the shade table
// (brightness and fog) and the blend table (translucency).
#pragma once

#include "engine/render_context.h"

// One channel of the blend target: ca + (cb - ca) * level / 16, rounded to
// the nearest integer with ties to even (level 0..16, channels 0..255).
inline int BlendChannel(int ca, int cb, int level) {
    const int sixteenths = ca * (16 - level) + cb * level;
    int whole = sixteenths >> 4;
    const int rest = sixteenths & 15;
    if (rest > 8 || (rest == 8 && (whole & 1) != 0)) ++whole;
    return whole;
}

// Blend table of `palette`: plane e, row a, column b is the entry among
// 0..254 nearest to the colour e/16 of the way from colour a to colour b.
// Uses every hardware thread.
void BuildBlendTable(const PalettePlanes& palette, BlendTable& table);

// The same table by one plain nearest-entry search per cell (over a second
// on slow machines); the yardstick the fast build is checked against.
void BuildBlendTableDirect(const PalettePlanes& palette, BlendTable& table);

// Shade table of `palette` for the fog colour (fr, fg, fb): level i, colour
// c is the entry among 1..254 nearest to the colour i/256 of the way from
// the fog to c; colour 0 stays 0.
void BuildShadeTableFor(const PalettePlanes& palette, int fr, int fg, int fb, ShadeTable& table);

// Builds the render context's shade table from its palette and copies it
// into the saved copy (restored when stereoscopic viewing ends).
void BuildShadeTable(int fr, int fg, int fb);
