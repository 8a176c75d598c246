// The look shared by the interface pictures: bevelled steel, gold trim,
// rivets and gold lettering, all in the game palette.
#pragma once

#include <cstdint>
#include <string_view>

#include "interface_font.h"
#include "paint_image.h"

namespace paint {

// A ramp colour for a brightness 0..255 (16 per level), ordered-dithered
// by position so that gradients stay smooth.
std::uint8_t Shade(int ramp, int value, int x, int y);

// Brushed steel: a slow streaky variation around 0 for (x, y).
int BrushedSteel(int x, int y, std::uint32_t seed);

// A raised plate filling the rectangle x0..x1, y0..y1 (inclusive): lit on
// its top and left edges, shaded on the others, `bevel` pixels wide.
void PaintPlate(Image& image, int x0, int y0, int x1, int y1, int ramp, int value, int bevel,
                std::uint32_t seed);

// A recessed well: the mirror of a plate, dark inside.
void PaintWell(Image& image, int x0, int y0, int x1, int y1, int ramp, int value, int bevel);

// A domed rivet of radius r, lit from the upper left.
void PaintRivet(Image& image, int cx, int cy, int r, int ramp);

// Gold lettering rows: pale at the top of a glyph, deeper at its foot.
std::uint8_t GoldRow(int row);

// Text in gold with a dark shadow.
void PaintGoldText(Image& image, Font font, std::string_view text, int x, int y, int scale);

} // namespace paint
