// Pick-ups and puzzle pieces: sensor plate, key block, ingot, heart, lamp, clock face.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "interface_font.h"
#include "paint_noise.h"
#include "paint_palette.h"
#include "paint_shapes.h"
#include "textures_painters.h"

namespace paint {

namespace {

constexpr int kPeriod = kSide;
constexpr int kMid = kSide / 2;

// A raised border `width` pixels wide around the whole face.
void Border(Field& height, int width, int rise) {
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int inset = Inset(x, y, 0, 0, kSide - 1, kSide - 1);
            if (inset < width) height(x, y) += rise + std::min(inset, 3) * 8;
        }
}

// Writes big-font text centred at (cx, cy) into a height field, raised by `rise`.
void StampText(Field& height, std::string_view text, int cx, int cy, int scale, int rise) {
    const FontLayout layout = LayoutOf(Font::kBig);
    const int width = TextWidth(Font::kBig, text, scale) - scale;
    const int left = cx - width / 2, top = cy - 5 * scale; // capitals are 10 rows high
    int pen = left;
    for (const char ch : text) {
        for (int gy = 0; gy < layout.inkHeight; ++gy)
            for (int gx = 0; gx < layout.inkWidth; ++gx)
                if (GlyphInk(Font::kBig, static_cast<unsigned char>(ch), gx, gy))
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx)
                            height(pen + gx * scale + sx, top + gy * scale + sy) += rise;
        pen += (layout.inkWidth + 1) * scale;
    }
}

} // namespace

void PaintSensor(TextureCanvas& c) {
    // A violet plate with an engraved ring and a glowing rune at its heart.
    Field height;
    Border(height, 8, 30);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int dx = x - kMid, dy = y - kMid;
            const int r = Sqrt(Dist2(x, y, kMid, kMid));
            const int diamond = std::abs(std::abs(dx) + std::abs(dy) - 30);
            const bool ring = std::abs(r - 46) < 2;
            const bool rune = diamond < 3 || r < 8 ||
                              (std::min(std::abs(dx), std::abs(dy)) < 2 &&
                               std::max(std::abs(dx), std::abs(dy)) > 36 &&
                               std::max(std::abs(dx), std::abs(dy)) < 44);
            const int glow = std::max(0, 48 - std::min({diamond, std::max(0, r - 8)}) * 4);
            int v = 96 + (Fractal(x, y, 16, 3, kPeriod, 1501) - 128) / 6 + glow;
            if (ring) {
                height(x, y) -= 20;
                v -= 30;
            }
            c.Set(x, y, kViolet, v);
            if (rune) c.Set(x, y, kPink, 230 - std::min(r, 40) + (diamond < 1 ? 20 : 0));
        }
    for (const auto& [bx, by] :
         {std::pair{16, 16}, std::pair{111, 16}, std::pair{16, 111}, std::pair{111, 111}})
        Dome(height, bx, by, 3, 40);
    AddLight(c, height, 28);
}

void PaintKeyBlock(TextureCanvas& c) {
    // A violet block with gold studs and a gold lock plate holding a keyhole.
    Field height;
    Border(height, 12, 30);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int inset = Inset(x, y, 0, 0, kSide - 1, kSide - 1);
            int v = (inset < 12 ? 120 : 100) + (Fractal(x, y, 16, 4, kPeriod, 1601) - 128) / 5;
            // Diagonal quilting on the face.
            if (inset >= 12 && ((x + y) % 24 == 0 || (x - y + 128) % 24 == 0)) {
                v -= 26;
                height(x, y) -= 6;
            }
            c.Set(x, y, kViolet, v);
            const int r = Sqrt(Dist2(x, y, kMid, kMid));
            if (r <= 26) {
                // The plate: a gold disc with a raised rim.
                c.Set(x, y, kGold, 170 - r + (Fractal(x, y, 8, 2, kPeriod, 1602) - 128) / 8);
                height(x, y) = 40 + (r > 22 ? 12 : 0);
            }
            // The keyhole: a round top and a widening slot below it.
            const bool hole =
                Dist2(x, y, kMid, kMid - 6) <= 36 ||
                (y >= kMid - 4 && y <= kMid + 14 && std::abs(x - kMid) <= 2 + (y - kMid + 4) / 6);
            if (hole) {
                c.Set(x, y, kGrey, 18);
                height(x, y) = 10;
            }
        }
    for (const auto& [bx, by] :
         {std::pair{6, 6}, std::pair{121, 6}, std::pair{6, 121}, std::pair{121, 121}}) {
        Dome(height, bx, by, 4, 50);
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx)
                if (dx * dx + dy * dy <= 16) c.Set(bx + dx, by + dy, kGold, 170);
    }
    AddLight(c, height, 30);
}

void PaintIngot(TextureCanvas& c) {
    // Polished gold with bevelled edges, a streak of reflected sky and a stamp.
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int inset = Inset(x, y, 0, 0, kSide - 1, kSide - 1);
            height(x, y) = std::min(inset, 10) * 10;
            int v = 150 + (x - y) / 4 + (Fractal(x, y, 32, 3, kPeriod, 1701) - 128) / 8;
            // Two diagonal bands of reflection.
            const int band = (x + y + 40) % 128;
            if (band < 10) v += 70 - band * 4;
            if (band > 60 && band < 66) v += 40;
            c.Set(x, y, kGold, v);
        }
    // A recessed cartouche with the fineness stamped in it.
    for (int y = 40; y < 88; ++y)
        for (int x = 24; x < 104; ++x) {
            const int inset = Inset(x, y, 24, 40, 103, 87);
            height(x, y) -= inset < 3 ? inset * 8 : 24;
        }
    StampText(height, "999", kMid, kMid, 2, 16);
    AddLight(c, height, 26);
}

void PaintHeart(TextureCanvas& c) {
    // A plump pink heart on a quilted magenta ground.
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(kPixels));
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            // (u² + v² - 1)³ - u² v³ <= 0, with 1.0 = 44 pixels, upward v.
            const std::int64_t u = (x - kMid) * 64 / 44, v = (kMid - 6 - y) * 64 / 44;
            const std::int64_t s = u * u + v * v - 64 * 64;
            mask[static_cast<std::size_t>(y * kSide + x)] = s * s * s - u * u * v * v * v * 64 <= 0;
        }
    const std::vector<int> inside = DistanceInside(mask, kSide, kSide);
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int d = inside[static_cast<std::size_t>(y * kSide + x)] / 3;
            if (d > 0) {
                // A rounded dome: steep at the rim, flat on top.
                const int dome = std::min(d, 16);
                height(x, y) = 40 + dome * (32 - dome) / 4;
                c.Set(x, y, kPink, 150 + (Fractal(x, y, 16, 2, kPeriod, 1801) - 128) / 10);
                // A soft oval glint on the upper left lobe.
                const int glint = (x - 44) * (x - 44) + (y - 42) * (y - 42) * 3;
                if (glint < 120) c.value(x, y) += (120 - glint) * 3 / 4;
            } else {
                const bool seam = (x + y) % 32 == 0 || (x - y + 128) % 32 == 0;
                height(x, y) = seam ? 0 : 12;
                c.Set(x, y, kPink,
                      (seam ? 40 : 76) + (Fractal(x, y, 16, 3, kPeriod, 1802) - 128) / 8);
            }
        }
    AddLight(c, height, 18);
}

void PaintLamp(TextureCanvas& c) {
    // A lantern: a flame glowing behind glass, iron caps above and below and
    // two iron bars in front.
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int r = Sqrt((x - kMid) * (x - kMid) + (y - 70) * (y - 70) / 2);
            int v = 190 - r * r / 18 + (Fractal(x, y, 16, 3, kPeriod, 1901) - 128) / 8;
            c.Set(x, y, v > 100 ? kGold : kTerracotta, v > 100 ? v : v + 50);
            // The flame: a teardrop, white at its heart, orange at its rim.
            const int fy = y - 30;
            if (fy >= 0 && fy < 60) {
                // A pointed tip widening to a round foot.
                const int half = fy < 45
                                     ? Sqrt(fy * 256 / 45) * 15 / 16
                                     : Sqrt((225 - (fy - 45) * (fy - 45)) * 256 / 225) * 15 / 16;
                const int fx = std::abs(x - kMid);
                if (fx <= half) {
                    const int edge = half - fx;
                    if (edge < 3)
                        c.Set(x, y, kLava, 200 + edge * 16);
                    else
                        c.Set(x, y, kGold, 200 + std::min(edge * 8, 55));
                }
            }
            const bool cap = y < 14 || y > 113;
            const bool bar = std::abs(x - 40) < 3 || std::abs(x - 87) < 3 || x < 5 || x > 122;
            if (cap || bar) {
                const int inset = cap ? std::min(std::abs(y - 13), std::abs(y - 114)) : 3;
                height(x, y) = cap ? 40 + std::min(inset, 3) * 6 : 30;
                c.Set(x, y, kSteel, 64 + (Grain(x, y, 1902) - 128) / 10);
                if (!cap && x > 5 && x < 122) c.value(x, y) += 40; // glow on the bars
            }
        }
    for (int x = 10; x < kSide; x += 20) {
        Dome(height, x, 6, 3, 30);
        Dome(height, x, 121, 3, 30);
    }
    AddLight(c, height, 26);
}

void PaintHourglass(TextureCanvas& c) {
    // A clock face in a gold ring on night blue: the timer pick-up.
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int r = Sqrt(Dist2(x, y, kMid, kMid));
            if (r > 56) {
                c.Set(x, y, kDeepBlue, 70 + (Fractal(x, y, 16, 3, kPeriod, 2001) - 128) / 6);
                if (Grain(x, y, 2002) > 251) c.Set(x, y, kSky, 230); // stars
                height(x, y) = 0;
            } else if (r > 48) {
                const int across = r - 52; // a round gold rim
                c.Set(x, y, kGold, 190 - across * across * 6);
                height(x, y) = 40 - across * across * 2;
            } else {
                c.Set(x, y, kSkin, 224 - r / 2);
                height(x, y) = 10;
            }
        }
    // Hour marks, long at the quarters.
    for (int hour = 0; hour < 12; ++hour) {
        const int phase = hour * 1024 / 12;
        const int inner = hour % 3 == 0 ? 36 : 41;
        for (int d = inner; d <= 45; ++d)
            for (int w = -1; w <= (hour % 3 == 0 ? 1 : 0); ++w) {
                const int x = kMid + (Sine(phase + 256) * d + 2048) / 4096 + w;
                const int y = kMid - (Sine(phase) * d + 2048) / 4096;
                c.Set(x, y, kDeepBlue, 40);
            }
    }
    // Hands at ten past ten, and a gold hub.
    for (const auto& [phase, length, width] : {std::tuple{-170, 24, 2}, std::tuple{170, 36, 1}}) {
        for (int d = -4; d <= length; ++d)
            for (int w = -width; w <= width; ++w) {
                const int x = kMid + (Sine(phase) * d + Sine(phase + 256) * w + 2048) / 4096;
                const int y = kMid - (Sine(phase + 256) * d - Sine(phase) * w + 2048) / 4096;
                c.Set(x, y, kDeepBlue, 28);
            }
    }
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx)
            if (dx * dx + dy * dy <= 16) c.Set(kMid + dx, kMid + dy, kGold, 200 - (dx + dy) * 8);
    AddLight(c, height, 30);
}

} // namespace paint
