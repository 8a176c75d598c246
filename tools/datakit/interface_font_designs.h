// The hand-drawn glyph tables of both fonts: blocks of text where '#' is ink,
// glyphs side by side in each row, separated by one blank column.
#pragma once

namespace paint {

extern const char* const kBigGlyphBlocks[10];  // 10 glyphs a block, 7 x 13 each
extern const char* const kSmallGlyphBlocks[5]; // 20 glyphs a block, 3 x 7 each

} // namespace paint
