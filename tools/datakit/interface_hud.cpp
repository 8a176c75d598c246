// The play screen's bar and radar. The bar is drawn across the foot of the
// screen (top 0.945, height 0.055) with the numbers written over it in the
// small font at top 0.962: the time at left 0.13 (5 characters), the ingots
// left at 0.625 and the lives at 0.787 (2 each), the level at 0.8937
// (7 characters); each number gets a dark well, each well a label.
#include <algorithm>
#include <cstdlib>

#include "interface_pictures.h"
#include "interface_style.h"
#include "paint_noise.h"
#include "paint_palette.h"

namespace paint {

namespace {

constexpr int kBarWidth = 640, kBarHeight = 26;

// The x span on the bar of `chars` small-font characters starting at `left`
// (a fraction of the screen): each advances 0.0125 of the width.
std::pair<int, int> FieldSpan(double left, int chars) {
    const int x0 = static_cast<int>(left * kBarWidth);
    return {x0, x0 + chars * 8}; // 0.0125 * 640 = 8 pixels a character
}

// A small icon from the big font's extra glyphs, in gold with a shadow.
void PaintIcon(Image& bar, int code, int x, int y, int ramp) {
    const FontLayout layout = LayoutOf(Font::kBig);
    for (int pass = 0; pass < 2; ++pass)
        for (int gy = 0; gy < layout.inkHeight; ++gy)
            for (int gx = 0; gx < layout.inkWidth; ++gx) {
                if (!GlyphInk(Font::kBig, code, gx, gy)) continue;
                if (pass == 0)
                    bar.Put(x + gx + 1, y + gy + 1, Colour(ramp, 1));
                else
                    bar.Put(x + gx, y + gy, Colour(ramp, 14 - gy / 2));
            }
}

} // namespace

Image PaintHudBar() {
    Image bar(kBarWidth, kBarHeight);
    PaintPlate(bar, 0, 0, kBarWidth - 1, kBarHeight - 1, kSteel, 116, 3, 41);
    // The numbers' rows on the bar: from 0.962 to 0.962 + 7/240 of the screen.
    const int textTop = 8, textBottom = 22;
    struct Field {
        double left;
        int chars;
        const char* label;
        int icon, iconRamp;
    };
    const Field fields[] = {{0.13, 5, "TIME", 129, kSky},
                            {0.625, 2, "GOLD", 128, kGold},
                            {0.787, 2, "LIVES", 127, kPink},
                            {0.8937, 7, "LVL", 130, kGrass}};
    for (const Field& field : fields) {
        const auto [x0, x1] = FieldSpan(field.left, field.chars);
        PaintWell(bar, x0 - 5, textTop - 3, x1 + 3, textBottom + 2, kDeepBlue, 28, 2);
        const int labelWidth = TextWidth(Font::kSmall, field.label, 2);
        const int labelX = x0 - 8 - labelWidth;
        PaintText(
            bar, Font::kSmall, field.label, labelX, 6, 2,
            [](int row) { return Colour(kSteel, 15 - row / 2); }, Colour(kSteel, 3));
        PaintIcon(bar, field.icon, labelX - 11, 6, field.iconRamp);
    }
    // Between the time and the gold: two grooves pressed into the steel,
    // held by rivets.
    for (int x = 160; x <= 320; ++x)
        for (const int y : {10, 15}) {
            bar.Put(x, y, Colour(kSteel, 3));
            bar.Put(x, y + 1, Colour(kSteel, 12));
        }
    for (const int x : {149, 331}) PaintRivet(bar, x, 13, 4, kSteel);
    return bar;
}

Image PaintRadar() {
    // 0.15625 x 0.2083 of the screen: square, 100 pixels on a 640 x 480 screen.
    // The centre is the player, forward is up, the rim is 4096 units away.
    constexpr int kSize = 100, kCentre = 50;
    Image radar(kSize, kSize);
    PaintPlate(radar, 0, 0, kSize - 1, kSize - 1, kSteel, 118, 3, 51);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = 2 * x + 1 - 2 * kCentre, dy = 2 * y + 1 - 2 * kCentre; // half pixels
            const int r = Sqrt(dx * dx + dy * dy) / 2;
            if (r > 45) continue;
            if (r > 42) {
                // The screen's bezel: a dark lip lit on its lower right.
                radar.Put(x, y, Shade(kSteel, 40 + (dx + dy > 0 ? 60 : 0), x, y));
                continue;
            }
            int v = 70 - r; // glowing toward the centre
            // The view ahead: a lighter wedge opening upward.
            if (dy < 0 && std::abs(dx) * 10 < -dy * 7) v += 18;
            if (r == 14 || r == 28) v = 120; // range rings
            if ((std::abs(dx) <= 1 || std::abs(dy) <= 1) && r > 3)
                v = std::max(v, 96); // cross hairs
            if ((x + y) % 2 == 0 && r > 40) v -= 10;
            radar.Put(x, y, Shade(kTeal, v, x, y));
        }
    // The player: a small gold arrow pointing forward.
    for (int row = 0; row < 6; ++row)
        for (int d = -row / 2; d <= row / 2; ++d)
            radar.Put(kCentre + d, kCentre - 3 + row, Colour(kGold, 15 - row));
    for (const auto& [cx, cy] :
         {std::pair{6, 6}, std::pair{93, 6}, std::pair{6, 93}, std::pair{93, 93}})
        PaintRivet(radar, cx, cy, 2, kSteel);
    return radar;
}

Image PaintBlip(bool chasing) {
    // About 7 x 7 pixels on a 640 x 480 screen: a round light with a glint.
    constexpr int kSize = 8;
    Image blip(kSize, kSize);
    const int ramp = chasing ? kLava : kGold;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = 2 * x - 7, dy = 2 * y - 7; // centre at 3.5
            const int d2 = dx * dx + dy * dy;
            if (d2 > 60) continue;
            int level = 14 - d2 / 6;
            if (chasing && d2 > 34) level = 6;
            blip.Put(x, y, Colour(ramp, std::max(level, 5)));
        }
    blip.Put(2, 2, Colour(ramp, 14));
    blip.Put(3, 2, Colour(kGrey, 15));
    return blip;
}

} // namespace paint
