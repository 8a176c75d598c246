// The in-game options menu and its cursor. The game draws the menu keyed
// over the whole screen and the cursor at left 0.2, top 0.366 + 0.072 x item,
// 0.075 wide and 0.0708 high; the entries sit to the right of those places.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "interface_pictures.h"
#include "interface_style.h"
#include "paint_palette.h"
#include "paint_shapes.h"

namespace paint {

namespace {

constexpr int kMenuWidth = 640, kMenuHeight = 480;

// The menu picture's row where the cursor's item `i` begins.
int ItemTop(int i) {
    return (3660 + 720 * i) * kMenuHeight / 10000;
}

} // namespace

Image PaintOptionMenu() {
    static constexpr std::array<const char*, 7> kEntries{
        "RESTART LEVEL",      "LOAD GAME", "SAVE GAME", "CAMERA VIEW",
        "CONTROLS AND SOUND", "QUIT GAME", "CONTINUE"};
    Image menu(kMenuWidth, kMenuHeight);
    const int x0 = 112, x1 = kMenuWidth - 1 - 112;
    const int y0 = 96, y1 = ItemTop(static_cast<int>(kEntries.size())) + 24;
    // The panel: a steel frame around a deep blue field.
    PaintPlate(menu, x0, y0, x1, y1, kSteel, 124, 4, 31);
    for (int y = y0 + 10; y <= y1 - 10; ++y)
        for (int x = x0 + 10; x <= x1 - 10; ++x) {
            const int fromEdge = std::min({x - x0 - 10, y - y0 - 10, x1 - 10 - x, y1 - 10 - y});
            int v = 44 + (y - y0) * 24 / (y1 - y0);        // a faint glow toward the foot
            if (fromEdge < 3) v = fromEdge == 0 ? 20 : 30; // the field's sunken edge
            menu.Put(x, y, Shade(kDeepBlue, v, x, y));
        }
    // A gold line around the field.
    for (int x = x0 + 13; x <= x1 - 13; ++x) {
        menu.Put(x, y0 + 13, Colour(kGold, 11));
        menu.Put(x, y1 - 13, Colour(kGold, 8));
    }
    for (int y = y0 + 13; y <= y1 - 13; ++y) {
        menu.Put(x0 + 13, y, Colour(kGold, 11));
        menu.Put(x1 - 13, y, Colour(kGold, 8));
    }
    for (const auto& [cx, cy] : {std::pair{x0 + 6, y0 + 6}, std::pair{x1 - 6, y0 + 6},
                                 std::pair{x0 + 6, y1 - 6}, std::pair{x1 - 6, y1 - 6}})
        PaintRivet(menu, cx, cy, 3, kSteel);

    // The heading, centred, in doubled big letters.
    const char* heading = "OPTIONS";
    const int headingWidth = TextWidth(Font::kBig, heading, 2);
    PaintGoldText(menu, Font::kBig, heading, (kMenuWidth - headingWidth) / 2, y0 + 22, 2);
    for (int x = x0 + 40; x <= x1 - 40; ++x) {
        const int fade = std::min(x - x0 - 40, x1 - 40 - x);
        menu.Put(x, y0 + 54, Colour(kGold, std::min(12, 4 + fade / 12)));
        menu.Put(x, y0 + 55, Colour(kEarth, 2));
    }

    // The entries: a slightly lit band for each item, its text to the right
    // of the cursor's place, centred on the cursor's height.
    const int cursorLeft = 2 * kMenuWidth / 10, cursorRight = cursorLeft + 75 * kMenuWidth / 1000;
    for (int i = 0; i < static_cast<int>(kEntries.size()); ++i) {
        const int top = ItemTop(i), bottom = top + 708 * kMenuHeight / 10000;
        for (int y = top + 2; y <= bottom - 2; ++y)
            for (int x = cursorRight + 2; x <= x1 - 30; ++x) {
                const int fade = std::min(16, (x1 - 30 - x) / 4);
                menu.Put(x, y, Shade(kDeepBlue, 64 + fade * 2 + (y == top + 2 ? 24 : 0), x, y));
            }
        const int textTop = (top + bottom) / 2 - 10; // capitals are 20 rows high
        PaintGoldText(menu, Font::kBig, kEntries[static_cast<std::size_t>(i)], cursorRight + 12,
                      textTop, 2);
    }
    return menu;
}

Image PaintCursor() {
    // 0.075 x 0.0708 of a 640 x 480 screen: 48 x 34, a gold arrow pointing
    // at the entry.
    constexpr int kWidth = 48, kHeight = 34;
    const std::vector<Polygon> arrow = {
        {{4 * 32, 12 * 32}, {26 * 32, 12 * 32}, {26 * 32, 22 * 32}, {4 * 32, 22 * 32}},
        {{22 * 32, 2 * 32}, {45 * 32, 17 * 32}, {22 * 32, 32 * 32}},
    };
    const std::vector<int> coverage = Coverage(kWidth, kHeight, arrow);
    std::vector<std::uint8_t> mask(coverage.size());
    for (std::size_t i = 0; i < coverage.size(); ++i) mask[i] = coverage[i] >= 8;
    const std::vector<int> inside = DistanceInside(mask, kWidth, kHeight);
    auto depth = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0;
        return std::min(inside[static_cast<std::size_t>(y * kWidth + x)], 9);
    };
    Image cursor(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * kWidth + x);
            if (!mask[i]) {
                if (coverage[i] > 0) cursor.Put(x, y, Colour(kGold, 3 + coverage[i] / 4));
                continue;
            }
            const int gx = depth(x + 1, y) - depth(x - 1, y),
                      gy = depth(x, y + 1) - depth(x, y - 1);
            int v = 220 - y * 3 + (gx + gy) * 12;
            if (inside[i] <= 3) v -= 40;
            cursor.Put(x, y, Shade(kGold, v, x, y));
        }
    return cursor;
}

} // namespace paint
