// The title logo and the frame over the title's demo page.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "interface_pictures.h"
#include "interface_style.h"
#include "paint_noise.h"
#include "paint_palette.h"
#include "paint_shapes.h"

namespace paint {

namespace {

// Logo letters on a 24-unit-high grid: each letter is a list of convex
// pieces, corners in grid units.
struct Piece {
    std::array<std::array<int, 2>, 4> corners;
};
struct Letter {
    int width; // the advance, a little less where the letter is open at the top
    std::vector<Piece> pieces;
};

Piece Rect(int x0, int y0, int x1, int y1) {
    return {{{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}}};
}

std::vector<Letter> LogoLetters() {
    const Letter k{24,
                   {Rect(0, 0, 6, 24), Piece{{{{6, 10}, {16, 0}, {24, 0}, {6, 18}}}},
                    Piece{{{{11, 13}, {17, 13}, {24, 24}, {16, 24}}}}}};
    const Letter e{
        22, {Rect(0, 0, 6, 24), Rect(6, 0, 22, 5), Rect(6, 10, 18, 15), Rect(6, 19, 22, 24)}};
    const Letter l{18, {Rect(0, 0, 6, 24), Rect(6, 19, 21, 24)}};
    const Letter v{24,
                   {Piece{{{{0, 0}, {7, 0}, {15, 24}, {9, 24}}}},
                    Piece{{{{17, 0}, {24, 0}, {15, 24}, {9, 24}}}}}};
    const Letter a{24,
                   {Piece{{{{9, 0}, {15, 0}, {7, 24}, {0, 24}}}},
                    Piece{{{{9, 0}, {15, 0}, {24, 24}, {17, 24}}}}, Rect(5, 14, 19, 19)}};
    const Letter n{
        24,
        {Rect(0, 0, 6, 24), Rect(18, 0, 24, 24), Piece{{{{0, 0}, {7, 0}, {24, 24}, {17, 24}}}}}};
    return {k, e, l, v, a, n, e};
}

// Chrome-like gold: bright sky above a dark horizon at mid height, the
// ground's warm reflection below it.
int GoldBand(int row, int rows) {
    const int t = row * 256 / std::max(rows, 1);
    if (t < 120) return 250 - t * 90 / 120;  // pale to mid
    if (t < 136) return 110 - (t - 120) * 4; // into the horizon
    return 80 + (t - 136) * 150 / 120;       // rising reflection
}

} // namespace

Image PaintLogo() {
    constexpr int kWidth = 600, kHeight = 80;
    constexpr int kUnit = 92; // a grid unit in 1/32 pixel: 2.875 pixels
    constexpr int kGap = 4;   // units between letters
    constexpr int kTop = 5 * 32;
    const std::vector<Letter> letters = LogoLetters();
    int total = 6; // the slant adds a quarter of the height
    for (const Letter& letter : letters) total += letter.width;
    total += kGap * (static_cast<int>(letters.size()) - 1);
    const int left = (kWidth * 32 - total * kUnit) / 2;

    std::vector<Polygon> polygons;
    std::vector<int> origins;
    int origin = 0;
    for (const Letter& letter : letters) {
        origins.push_back(origin);
        for (const Piece& piece : letter.pieces) {
            Polygon polygon;
            for (const auto& [x, y] : piece.corners) {
                // Slanted forward: a quarter unit right for each unit up.
                polygon.push_back(
                    {left + (origin + x) * kUnit + (24 - y) * kUnit / 4, kTop + y * kUnit});
            }
            polygons.push_back(polygon);
        }
        origin += letter.width + kGap;
    }
    const std::vector<int> coverage = Coverage(kWidth, kHeight, polygons);
    std::vector<std::uint8_t> mask(coverage.size());
    for (std::size_t i = 0; i < coverage.size(); ++i) mask[i] = coverage[i] >= 8;
    const std::vector<int> inside = DistanceInside(mask, kWidth, kHeight);

    // The bevel: the clamped distance's slope, lit from the upper left.
    auto depth = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0;
        return std::min(inside[static_cast<std::size_t>(y * kWidth + x)], 12);
    };
    const int letterTop = kTop / 32, letterRows = 24 * kUnit / 32;
    Image logo(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * kWidth + x);
            if (!mask[i]) continue;
            const int gx = depth(x + 1, y) - depth(x - 1, y),
                      gy = depth(x, y + 1) - depth(x, y - 1);
            int v = GoldBand(y - letterTop, letterRows);
            if (inside[i] < 12) v += (gx + gy) * 9;
            if (inside[i] <= 3) v -= 30; // a thin dark rim keeps the letters crisp
            logo.Put(x, y, Shade(kGold, v, x, y));
        }
    // A dark outline around the letters, then the half-covered edge pixels.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * kWidth + x);
            if (mask[i]) continue;
            bool near = false;
            for (int dy = -2; dy <= 2 && !near; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (std::abs(dx) + std::abs(dy) <= 3 && x + dx >= 0 && y + dy >= 0 &&
                        x + dx < kWidth && y + dy < kHeight &&
                        mask[static_cast<std::size_t>((y + dy) * kWidth + x + dx)]) {
                        near = true;
                        break;
                    }
            if (!near) continue;
            logo.Put(x, y,
                     coverage[i] > 0 ? Colour(kGold, 4 + coverage[i] / 3) : Colour(kBrick, 2));
        }
    // Glints where light catches the K's corner and the A's apex.
    for (const auto& [letter, ux] : {std::pair{0, 2}, std::pair{4, 12}}) {
        const int x =
            (left + (origins[static_cast<std::size_t>(letter)] + ux) * kUnit + 6 * kUnit) / 32;
        const int y = kTop / 32 + 1;
        for (int d = -7; d <= 7; ++d) {
            const int level = 15 - std::abs(d) / 2;
            logo.Put(x + d, y, Colour(kGold, level));
            logo.Put(x, y + d, Colour(kGold, level));
        }
        for (int d = -2; d <= 2; ++d) {
            logo.Put(x + d, y + d, Colour(kGold, 14));
            logo.Put(x + d, y - d, Colour(kGold, 14));
        }
    }
    return logo;
}

Image PaintTitleFrame() {
    constexpr int kWidth = 640, kHeight = 480;
    constexpr int kBand = 26;   // the frame's width
    constexpr int kRadius = 22; // rounding of the opening's corners
    Image frame(kWidth, kHeight);
    // Distance from a point to the rounded opening (0 inside it).
    auto outside = [&](int x, int y) {
        const int x0 = kBand + kRadius, y0 = kBand + kRadius;
        const int x1 = kWidth - 1 - kBand - kRadius, y1 = kHeight - 1 - kBand - kRadius;
        const int dx = std::max({x0 - x, 0, x - x1}), dy = std::max({y0 - y, 0, y - y1});
        return std::max(0, Sqrt(dx * dx + dy * dy) - kRadius);
    };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int d = outside(x, y);
            if (d == 0) continue; // the opening: the demo shows through
            const int edge = std::min({x, y, kWidth - 1 - x, kHeight - 1 - y});
            std::uint8_t colour;
            if (d <= 2) {
                colour = Colour(kSteel, 1); // the opening's shadowed lip
            } else if (d <= 7) {
                // A round gold moulding around the opening.
                const int across = d - 5; // -2..2
                colour = Shade(kGold, 200 - across * across * 22 - (across > 0 ? 40 : 0), x, y);
            } else if (edge < 3) {
                colour = Colour(kSteel, edge == 0 ? 1 : 3);
            } else {
                int v = 120 + BrushedSteel(x, y, 21);
                if (edge < 7) v += 50 - (edge - 3) * 8; // the outer lit edge
                if (d < 11) v -= (11 - d) * 10;         // shade against the moulding
                colour = Shade(kSteel, v, x, y);
            }
            frame.Put(x, y, colour);
        }
    // Rivets along the steel, gems at the corners.
    const int mid = (kBand + 2) / 2;
    for (int x = 64; x < kWidth - 40; x += 64) {
        PaintRivet(frame, x, mid, 4, kSteel);
        PaintRivet(frame, x, kHeight - 1 - mid, 4, kSteel);
    }
    for (int y = 80; y < kHeight - 40; y += 80) {
        PaintRivet(frame, mid, y, 4, kSteel);
        PaintRivet(frame, kWidth - 1 - mid, y, 4, kSteel);
    }
    for (const auto& [cx, cy] :
         {std::pair{mid + 2, mid + 2}, std::pair{kWidth - 3 - mid, mid + 2},
          std::pair{mid + 2, kHeight - 3 - mid}, std::pair{kWidth - 3 - mid, kHeight - 3 - mid}}) {
        // A gold diamond setting holding a violet gem.
        for (int dy = -14; dy <= 14; ++dy)
            for (int dx = -14; dx <= 14; ++dx) {
                const int d = std::abs(dx) + std::abs(dy);
                if (d > 14) continue;
                const int lit = -(dx + dy) * 5;
                if (d > 9)
                    frame.Put(cx + dx, cy + dy,
                              Shade(kGold, 170 + lit + (d == 14 ? -80 : 0), cx + dx, cy + dy));
                else
                    frame.Put(cx + dx, cy + dy,
                              Shade(kViolet, 150 + lit * 2 - d * 6, cx + dx, cy + dy));
            }
        frame.Put(cx - 3, cy - 3, Colour(kViolet, 15));
        frame.Put(cx - 2, cy - 3, Colour(kViolet, 14));
        frame.Put(cx - 3, cy - 2, Colour(kViolet, 14));
    }
    return frame;
}

} // namespace paint
