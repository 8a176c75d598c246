#include "draw/text.h"

#include "engine/pictures.h"
#include "engine/render_context.h"

namespace {

struct FontMetrics {
    int firstSlot;     // slot of character code 32
    double glyphWidth; // fractions of the screen width
    double advance;
    int glyphRows; // in units of the reference height
    int lineRows;
};

constexpr FontMetrics kSmall{50, 0.009375, 0.0125, 7, 8};
constexpr FontMetrics kBig{150, 0.021875, 0.025, 15, 16};

constexpr int kFirstCode = 32;
constexpr int kLastCode = 131;
constexpr unsigned char kCarriageReturn = 13;

// Heights are given against a 240-row screen, or 200 rows for the low mode.
double ReferenceHeight() {
    return renderContext.projection.cy == 100 ? 200.0 : 240.0;
}

} // namespace

double TextWidth(const std::string& text, bool big) {
    return static_cast<double>(text.size()) * (big ? kBig : kSmall).advance;
}

void DrawText(const std::string& text, bool big, double top, double left) {
    const FontMetrics& font = big ? kBig : kSmall;
    const double reference = ReferenceHeight();
    const double glyphHeight = font.glyphRows / reference;
    const double lineStep = font.lineRows / reference;
    double penTop = top, penLeft = left;
    for (const char ch : text) {
        const unsigned char code = static_cast<unsigned char>(ch);
        if (code == kCarriageReturn) {
            penTop += lineStep;
            penLeft = left;
            continue;
        }
        // Codes without a glyph of this font must not reach into the other
        // font's slots: they leave a gap.
        if (code >= kFirstCode && code <= kLastCode)
            DrawPicture(font.firstSlot + code - kFirstCode, true, 0, glyphHeight, font.glyphWidth,
                        penTop, penLeft);
        penLeft += font.advance;
    }
}

std::string ZeroPad(long long number, int count) {
    // Zeros go in front of the whole decimal text, a minus sign included:
    // ZeroPad(-5, 3) is "0-5". The padding only fills to a width and never
    // reads the sign; no caller shows a negative count (the bar clamps them).
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < count)
        text.insert(0, static_cast<std::size_t>(count) - text.size(), '0');
    return text;
}
