// The doors: one steel door with two recessed panels, its frame painted in
// the colour of what opens it and a round badge at its middle saying how.
#include <algorithm>
#include <cstdlib>

#include "paint_noise.h"
#include "paint_palette.h"
#include "textures_painters.h"

namespace paint {

namespace {

constexpr int kMid = kSide / 2;
constexpr int kBadgeRadius = 24;

enum class Badge { kLamp, kIngot, kRune };

// The ingot of the badge: a trapezoid seen from the side, wider at its foot.
bool InIngot(int dx, int dy) {
    if (dy < -9 || dy > 9) return false;
    const int halfWidth = 12 + (dy + 9) / 3;
    return std::abs(dx) <= halfWidth;
}

// The sensor's rune, small: a diamond outline round a dot.
bool InRune(int dx, int dy) {
    const int diamond = std::abs(std::abs(dx) + std::abs(dy) - 14);
    return diamond < 2 || dx * dx + dy * dy < 16;
}

void PaintDoorOf(TextureCanvas& c, int accent, Badge badge) {
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int outer = Inset(x, y, 0, 0, kSide - 1, kSide - 1);
            const int top = Inset(x, y, 18, 16, 109, 56), bottom = Inset(x, y, 18, 72, 109, 113);
            const int panel = std::max(top, bottom);
            int h = 40 + std::min(outer, 4) * 8;
            if (panel >= 0) h = 24 - std::min(panel, 4) * 4; // recessed panels
            height(x, y) = h;
            c.Set(x, y, kSteel, (panel >= 0 ? 112 : 138) + Brushed(x, y, 1201));
            // The frame's painted band, worn at the edges.
            if (outer >= 2 && outer < 12 && panel < 0)
                c.Set(x, y, accent, 150 + Brushed(x, y, 1205) - (outer < 3 ? 30 : 0));
            // Ribs pressed into the panels.
            if (panel >= 4 && (x - 18) % 13 == 6) height(x, y) += 10;
        }
    // The badge: a raised steel ring round a disc of the accent colour.
    for (int y = kMid - kBadgeRadius - 2; y <= kMid + kBadgeRadius + 2; ++y)
        for (int x = kMid - kBadgeRadius - 2; x <= kMid + kBadgeRadius + 2; ++x) {
            const int dx = x - kMid, dy = y - kMid;
            const int r = Sqrt(Dist2(x, y, kMid, kMid));
            if (r > kBadgeRadius) continue;
            if (r > kBadgeRadius - 5) {
                c.Set(x, y, kSteel, 170 + Brushed(x, y, 1207));
                height(x, y) = 60;
                continue;
            }
            // Lit from the upper left like a lamp's glass.
            const int shine = 220 - Sqrt(Dist2(x, y, kMid - 6, kMid - 7)) * 5;
            height(x, y) = 50;
            switch (badge) {
            case Badge::kLamp:
                c.Set(x, y, accent, std::max(90, shine));
                break;
            case Badge::kIngot:
                c.Set(x, y, kGrey, 40 + r);
                if (InIngot(dx, dy)) c.Set(x, y, kGold, 200 - dy * 3 - (dx + 20) / 2);
                break;
            case Badge::kRune:
                c.Set(x, y, accent, 80 + r * 2);
                if (InRune(dx, dy)) c.Set(x, y, kPink, 235 - r * 2);
                break;
            }
        }
    for (int i = 0; i < 8; ++i) {
        const int p = 8 + i * 16;
        for (const auto& [bx, by] : {std::pair{7, p}, std::pair{120, p}})
            Dome(height, bx, by, 3, 40);
    }
    for (int i = 0; i < 5; ++i)
        if (std::abs(24 + i * 20 - kMid) > kBadgeRadius) Dome(height, 24 + i * 20, 64, 3, 40);
    AddLight(c, height, 30);
}

} // namespace

void PaintDoor(TextureCanvas& c) {
    PaintDoorOf(c, kDeepBlue, Badge::kLamp);
}

void PaintSecondCircuitDoor(TextureCanvas& c) {
    PaintDoorOf(c, kTerracotta, Badge::kLamp);
}

void PaintIngotDoor(TextureCanvas& c) {
    PaintDoorOf(c, kGold, Badge::kIngot);
}

void PaintSensorDoor(TextureCanvas& c) {
    PaintDoorOf(c, kViolet, Badge::kRune);
}

} // namespace paint
