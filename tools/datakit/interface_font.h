// Both bitmap fonts: their glyphs, their sheets and a text painter that
// writes with them into interface pictures.
#pragma once

#include <functional>
#include <string_view>

#include "paint_image.h"

namespace paint {

enum class Font { kSmall, kBig };

constexpr int kFirstCode = 32;
constexpr int kGlyphCount = 100; // codes 32..131

// Design size of a glyph's ink, and the cell and stride of the font's sheet.
struct FontLayout {
    int inkWidth, inkHeight; // the drawn glyph
    int cellWidth, cellHeight;
    int stride; // x distance between glyphs on the sheet
    int inkTop; // sheet row of the ink's first row
};
FontLayout LayoutOf(Font font);

// Whether the glyph of `code` has ink at design column x, row y (false
// outside the glyph or for codes without one).
bool GlyphInk(Font font, int code, int x, int y);

// The font sheet as loaded by the game: glyph i (code 32 + i) in the cell at
// x = stride * i, coloured with a gold gradient; the big font has a dark
// shadow one pixel right and down. The width is even.
Image FontSheet(Font font);

// Paints `text` with its top left at (x, y), each design pixel as a
// `scale` x `scale` block coloured by `ink`(design row). With a non-zero
// `shadow` colour a shadow is painted `scale` pixels right and down first.
// Characters advance by (ink width + 1) * scale.
using InkColour = std::function<std::uint8_t(int row)>;
void PaintText(Image& image, Font font, std::string_view text, int x, int y, int scale,
               const InkColour& ink, std::uint8_t shadow);
int TextWidth(Font font, std::string_view text, int scale);

} // namespace paint
