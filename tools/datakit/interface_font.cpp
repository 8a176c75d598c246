#include "interface_font.h"

#include <array>
#include <string>
#include <vector>

#include "interface_font_designs.h"
#include "paint_palette.h"

namespace paint {

namespace {

// Glyph bitmaps unpacked from the design blocks: ink[code - 32][row][column].
struct GlyphTable {
    int width = 0, height = 0;
    std::vector<std::string> rows; // glyph-major: kGlyphCount * height strings of width
};

GlyphTable Unpack(const char* const* blocks, int blockCount, int perBlock, int width, int height) {
    GlyphTable table;
    table.width = width;
    table.height = height;
    table.rows.assign(static_cast<std::size_t>(kGlyphCount * height), std::string(width, '.'));
    for (int b = 0; b < blockCount; ++b) {
        std::vector<std::string> lines;
        std::string text = blocks[b], line;
        for (char ch : text) {
            if (ch == '\n') {
                if (!line.empty()) lines.push_back(line);
                line.clear();
            } else {
                line += ch;
            }
        }
        if (!line.empty()) lines.push_back(line);
        for (int row = 0; row < height && row < static_cast<int>(lines.size()); ++row)
            for (int g = 0; g < perBlock; ++g) {
                const std::size_t at = static_cast<std::size_t>(g * (width + 1));
                const int glyph = b * perBlock + g;
                if (glyph < kGlyphCount && at + static_cast<std::size_t>(width) <=
                                               lines[static_cast<std::size_t>(row)].size())
                    table.rows[static_cast<std::size_t>(glyph * height + row)] =
                        lines[static_cast<std::size_t>(row)].substr(
                            at, static_cast<std::size_t>(width));
            }
    }
    return table;
}

const GlyphTable& Table(Font font) {
    static const GlyphTable big = Unpack(kBigGlyphBlocks, 10, 10, 7, 13);
    static const GlyphTable small = Unpack(kSmallGlyphBlocks, 5, 20, 3, 7);
    return font == Font::kBig ? big : small;
}

// The sheets' gold: pale at the top of a glyph, deeper toward its foot.
std::uint8_t SheetInk(Font font, int row) {
    if (font == Font::kSmall) {
        static constexpr std::array<int, 7> kLevels{15, 15, 15, 14, 13, 12, 11};
        return Colour(kGold, kLevels[static_cast<std::size_t>(row)]);
    }
    static constexpr std::array<int, 13> kLevels{15, 15, 15, 14, 14, 13, 13,
                                                 12, 12, 11, 11, 10, 10};
    return Colour(kGold, kLevels[static_cast<std::size_t>(row)]);
}

} // namespace

FontLayout LayoutOf(Font font) {
    if (font == Font::kBig) return {7, 13, 8, 15, 9, 1};
    return {3, 7, 3, 7, 4, 0};
}

bool GlyphInk(Font font, int code, int x, int y) {
    const GlyphTable& table = Table(font);
    const int glyph = code - kFirstCode;
    if (glyph < 0 || glyph >= kGlyphCount || x < 0 || y < 0 || x >= table.width ||
        y >= table.height)
        return false;
    return table.rows[static_cast<std::size_t>(glyph * table.height + y)]
                     [static_cast<std::size_t>(x)] == '#';
}

Image FontSheet(Font font) {
    const FontLayout layout = LayoutOf(font);
    int width = layout.stride * (kGlyphCount - 1) + layout.cellWidth;
    width += width % 2; // the game reads only even widths
    Image sheet(width, layout.cellHeight);
    const std::uint8_t shadow = Colour(kEarth, 1);
    for (int i = 0; i < kGlyphCount; ++i) {
        const int left = layout.stride * i;
        for (int y = 0; y < layout.inkHeight; ++y)
            for (int x = 0; x < layout.inkWidth; ++x) {
                if (!GlyphInk(font, kFirstCode + i, x, y)) continue;
                sheet.Put(left + x, layout.inkTop + y, SheetInk(font, y));
                if (font == Font::kBig && !GlyphInk(font, kFirstCode + i, x + 1, y + 1))
                    sheet.Put(left + x + 1, layout.inkTop + y + 1, shadow);
            }
        // The shadow must not cover ink painted earlier in the glyph.
        if (font == Font::kBig)
            for (int y = 0; y < layout.inkHeight; ++y)
                for (int x = 0; x < layout.inkWidth; ++x)
                    if (GlyphInk(font, kFirstCode + i, x, y))
                        sheet.Put(left + x, layout.inkTop + y, SheetInk(font, y));
    }
    return sheet;
}

void PaintText(Image& image, Font font, std::string_view text, int x, int y, int scale,
               const InkColour& ink, std::uint8_t shadow) {
    const FontLayout layout = LayoutOf(font);
    const int advance = (layout.inkWidth + 1) * scale;
    for (int pass = shadow ? 0 : 1; pass < 2; ++pass) {
        const int offset = pass == 0 ? scale : 0;
        int penX = x;
        for (const char ch : text) {
            const int code = static_cast<unsigned char>(ch);
            for (int gy = 0; gy < layout.inkHeight; ++gy)
                for (int gx = 0; gx < layout.inkWidth; ++gx) {
                    if (!GlyphInk(font, code, gx, gy)) continue;
                    const std::uint8_t colour = pass == 0 ? shadow : ink(gy);
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx)
                            image.Put(penX + gx * scale + sx + offset, y + gy * scale + sy + offset,
                                      colour);
                }
            penX += advance;
        }
    }
}

int TextWidth(Font font, std::string_view text, int scale) {
    return static_cast<int>(text.size()) * (LayoutOf(font).inkWidth + 1) * scale;
}

} // namespace paint
