// Wood and metal: planks, plate, crate, glass, ladder, lever, spring, hazard stripes.
#include <algorithm>
#include <cstdlib>

#include "paint_noise.h"
#include "paint_palette.h"
#include "textures_painters.h"

namespace paint {

namespace {

constexpr int kPeriod = kSide;

// Wood fibres running along x (`along` true) or along y.
int WoodGrain(int x, int y, bool alongX, std::uint32_t seed) {
    const int u = alongX ? x : y, v = alongX ? y : x;
    const int streaks = ValueNoise(u, v, 32, 4, kPeriod, seed);
    const int fibres = ValueNoise(u, v, 16, 1, kPeriod, seed + 1);
    return (streaks - 128) / 3 + (fibres - 128) / 4;
}

} // namespace

int Brushed(int x, int y, std::uint32_t seed) {
    return (ValueNoise(x, y, 32, 1, kPeriod, seed) - 128) / 7 +
           (Fractal(x, y, 32, 3, kPeriod, seed + 1) - 128) / 5 + (Grain(x, y, seed + 2) - 128) / 16;
}

void PaintPlanks(TextureCanvas& c) {
    // Four planks, each of boards 64 long butted at two seams.
    Field height;
    auto seamOf = [](int plank) {
        return static_cast<int>(Hash(static_cast<std::uint32_t>(plank), 0, 601) % 64);
    };
    for (int y = 0; y < kSide; ++y) {
        const int plank = y / 32, ly = y % 32;
        for (int x = 0; x < kSide; ++x) {
            const int along = WrapSide(x - seamOf(plank));
            const int fromSeam = along % 64;
            const std::uint32_t board = Hash(static_cast<std::uint32_t>(plank),
                                             static_cast<std::uint32_t>(along / 64), 602);
            int v = 128 + static_cast<int>(board % 31) - 15 +
                    WoodGrain(x + static_cast<int>(board % 64), y, true, 603);
            int h = 20;
            if (ly < 2) {
                v = ly == 0 ? 20 : 50; // the gap between planks
                h = 0;
            } else if (ly == 2) {
                v += 30; // the plank's lit top edge
            } else if (ly == 31) {
                v -= 30;
            }
            if (fromSeam == 0) {
                v = 30;
                h = 0;
            } else if (fromSeam == 1) {
                v += 24;
            }
            height(x, y) = h;
            c.Set(x, y, kWood, v);
        }
    }
    // Nails either side of each seam.
    for (int plank = 0; plank < 4; ++plank) {
        const int seam = seamOf(plank);
        for (const int nx : {seam - 4, seam + 5, seam + 60, seam + 69}) {
            for (const int ny : {plank * 32 + 8, plank * 32 + 25}) {
                Dome(height, nx, ny, 2, 30);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) c.Set(nx + dx, ny + dy, kGrey, 90);
            }
        }
    }
    // Knots: dark rings pulled out along the grain.
    for (int k = 0; k < 3; ++k) {
        const std::uint32_t h = Hash(static_cast<std::uint32_t>(k), 1, 604);
        const int kx = static_cast<int>(h % 128), ky = static_cast<int>((h >> 8) % 4) * 32 + 16;
        for (int dy = -6; dy <= 6; ++dy)
            for (int dx = -14; dx <= 14; ++dx) {
                const int d = Sqrt(dx * dx / 4 + dy * dy * 4);
                if (d < 12 && c.ramp(kx + dx, ky + dy) == kWood)
                    c.value(kx + dx, ky + dy) -= (12 - d) * (d % 3 == 0 ? 6 : 3);
            }
    }
    AddLight(c, height, 24);
}

void PaintMetalPlate(TextureCanvas& c) {
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int inset = Inset(x, y, 0, 0, kSide - 1, kSide - 1);
            height(x, y) = std::min(inset, 4) * 12;
            c.Set(x, y, kSteel, 132 + Brushed(x, y, 701));
        }
    for (int i = 0; i < 5; ++i) {
        const int p = 8 + i * 28;
        for (const auto& [rx, ry] :
             {std::pair{p, 7}, std::pair{p, 120}, std::pair{7, p}, std::pair{120, p}})
            Dome(height, rx, ry, 3, 48);
    }
    // Rust creeping from two rivets, and a few scratches.
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int rust = Fractal(x, y, 8, 3, kPeriod, 702) - Sqrt(Dist2(x, y, 36, 120)) * 6;
            const int rust2 = Fractal(x, y, 8, 3, kPeriod, 703) - Sqrt(Dist2(x, y, 120, 64)) * 7;
            if (std::max(rust, rust2) > 84)
                c.Set(x, y, kTerracotta, 60 + (Grain(x, y, 704) - 128) / 5);
        }
    for (int s = 0; s < 6; ++s) {
        const std::uint32_t h = Hash(static_cast<std::uint32_t>(s), 2, 705);
        int x = 16 + static_cast<int>(h % 96), y = 16 + static_cast<int>((h >> 8) % 96);
        const int dx = (h >> 16) % 2 ? 1 : -1;
        for (int i = 0; i < 10 + static_cast<int>((h >> 20) % 14); ++i, x += dx)
            if (i % 5 != 4) c.value(x, y + i / 4) += 40;
    }
    AddLight(c, height, 30);
}

void PaintCrate(TextureCanvas& c) {
    Field height;
    constexpr int kFrame = 14, kBrace = 12;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int frame = Inset(x, y, 0, 0, kSide - 1, kSide - 1);
            // Distance to each diagonal, in pixels across the brace.
            const int d1 = std::abs(x - y) * 181 / 256,
                      d2 = std::abs(x + y - (kSide - 1)) * 181 / 256;
            int v, h;
            if (frame < kFrame) {
                const bool horizontal = std::min(y, kSide - 1 - y) <= std::min(x, kSide - 1 - x);
                v = 168 + WoodGrain(x, y, horizontal, 801);
                h = 44 + std::min(frame, 3) * 6;
                // Mitred corners: a dark line where the pieces meet.
                if (std::abs(std::min(x, kSide - 1 - x) - std::min(y, kSide - 1 - y)) == 0) v -= 40;
            } else if (std::min(d1, d2) < kBrace / 2) {
                const bool first = d1 <= d2;
                // Fibres along the brace: sample the grain in rotated coordinates.
                const int u = first ? (x + y) / 2 : (x - y + kSide) / 2;
                const int across = first ? d1 : d2;
                v = 150 +
                    (ValueNoise(u, across * 4 + (first ? 0 : 64), 16, 1, kPeriod, 802) - 128) / 4;
                h = 30 + std::min(kBrace / 2 - across, 3) * 5;
            } else {
                const int plank = (x - kFrame) / 25;
                v = 112 + WoodGrain(x, y, false, 803 + static_cast<std::uint32_t>(plank));
                h = 10;
                if ((x - kFrame) % 25 == 0) v = 36; // gaps between the boards
            }
            height(x, y) = h;
            c.Set(x, y, kWood, v);
        }
    // Nails at the corners and where the braces meet the frame.
    for (const auto& [nx, ny] :
         {std::pair{6, 6}, std::pair{121, 6}, std::pair{6, 121}, std::pair{121, 121},
          std::pair{20, 20}, std::pair{107, 20}, std::pair{20, 107}, std::pair{107, 107}}) {
        Dome(height, nx, ny, 2, 36);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) c.Set(nx + dx, ny + dy, kGrey, 96);
    }
    AddLight(c, height, 26);
}

void PaintGlass(TextureCanvas& c) {
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int outer = Inset(x, y, 0, 0, kSide - 1, kSide - 1);
            const int bar =
                std::min(std::abs(2 * x - (kSide - 1)), std::abs(2 * y - (kSide - 1))) / 2;
            const bool frame = outer < 9 || bar < 3;
            if (!frame) {
                c.clear(x, y) = 1;
                continue;
            }
            height(x, y) = outer < 9 ? std::min(outer, 4) * 10 : (3 - bar) * 10;
            c.Set(x, y, kTeal, 120 + (Fractal(x, y, 16, 3, kPeriod, 901) - 128) / 5);
        }
    // Glints on the panes: short pale strokes across each pane's corner.
    for (int pane = 0; pane < 4; ++pane) {
        const int px = pane % 2 ? 66 : 9, py = pane / 2 ? 66 : 9;
        for (int s = 0; s < 2; ++s) {
            const int start = 10 + s * 8, length = 18 - s * 8;
            for (int i = 0; i < length; ++i) {
                const int x = px + start + i, y = py + start + 14 - i;
                for (int w = 0; w < 2 - s; ++w) {
                    c.clear(x + w, y) = 0;
                    c.Set(x + w, y, kTeal, 230 - i * 3);
                }
            }
        }
    }
    AddLight(c, height, 40);
}

void PaintLadder(TextureCanvas& c) {
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const bool leftRail = x >= 4 && x < 18, rightRail = x >= 110 && x < 124;
            const int ly = y % 32;
            const bool rung = x >= 18 && x < 110 && ly >= 12 && ly < 22;
            if (leftRail || rightRail) {
                const int across = leftRail ? x - 4 : x - 110; // 0..13, rounded by the light
                const int round = 60 - (across - 5) * (across - 5) * 3;
                c.Set(x, y, kWood, 100 + round + WoodGrain(x, y, false, 1001));
                if (ly >= 12 && ly < 22 && (across == 0 || across == 13)) c.value(x, y) -= 20;
            } else if (rung) {
                const int across = ly - 12; // 0..9
                const int round = 50 - (across - 3) * (across - 3) * 4;
                c.Set(x, y, kWood, 96 + round + WoodGrain(x, y, true, 1002));
                if (x < 21 || x > 106) c.value(x, y) -= 30; // the rung's end in the rail's shadow
            } else {
                c.clear(x, y) = 1;
            }
        }
}

void PaintLever(TextureCanvas& c) {
    // Top half: the handle (a wooden grip under a red ball knob); bottom
    // half: the steel base with its slot and four bolts.
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            if (y < 64) {
                const int knob = Dist2(x, y, 64, 24);
                if (knob <= 22 * 22) {
                    const int shine = 255 - Sqrt(Dist2(x, y, 56, 15)) * 9;
                    c.Set(x, y, kBrick, std::max(60, shine) + (22 * 22 - knob) / 40);
                    height(x, y) = 60;
                } else {
                    // The grip, lit as a round bar from the left.
                    const int across = std::abs(x - 64);
                    c.Set(x, y, kWood, 150 - across * 3 + WoodGrain(x, y, false, 1101));
                    if (across > 20) c.Set(x, y, kWood, 60 + WoodGrain(x, y, false, 1101) / 2);
                    height(x, y) = 30;
                }
            } else {
                const int inset = Inset(x, y, 0, 64, kSide - 1, kSide - 1);
                height(x, y) = std::min(inset, 4) * 12;
                c.Set(x, y, kSteel, 124 + Brushed(x, y, 1102));
                const bool slot = std::abs(x - 64) < 8 && y > 74 && y < 117;
                if (slot) {
                    c.Set(x, y, kGrey, 24 + (x - 56) * 2);
                    height(x, y) = 0;
                }
            }
        }
    for (const auto& [bx, by] :
         {std::pair{14, 78}, std::pair{113, 78}, std::pair{14, 113}, std::pair{113, 113}}) {
        Dome(height, bx, by, 5, 50);
        for (int i = -3; i <= 3; ++i) c.value(bx + i, by - i) -= 40; // the bolt's screw slot
    }
    AddLight(c, height, 30);
}

void PaintSpring(TextureCanvas& c) {
    // A helix: bands slanted by one coil across the width, so both edges meet.
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int phase = y * 1024 / 16 + x * 1024 / 128;
            const int wire = Sine(phase);
            int v;
            if (wire < -1200) {
                v = 28 + (Grain(x, y, 1301) - 128) / 16; // the gap between coils
                c.Set(x, y, kGrey, v);
                continue;
            }
            // Round wire: brightest just above its middle, a sharp glint on top.
            const int lit = Sine(phase + 128);
            v = 120 + lit / 40 + (wire > 3800 ? 60 : 0);
            c.Set(x, y, kSteel, v + (Grain(x, y, 1302) - 128) / 16);
        }
}

void PaintHazard(TextureCanvas& c) {
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const bool yellow = ((x + y) / 16) % 2 == 0;
            const int dirt = (Fractal(x, y, 32, 4, kPeriod, 1401) - 128) / 3;
            const int chip = Fractal(x, y, 8, 3, kPeriod, 1402);
            if (chip > 204) {
                c.Set(x, y, kSteel,
                      120 + (chip - 204) + (Grain(x, y, 1403) - 128) / 8); // bare metal
            } else if (yellow) {
                c.Set(x, y, kGold, 200 + dirt + (Grain(x, y, 1404) - 128) / 12);
            } else {
                c.Set(x, y, kGrey, 34 + dirt / 3 + (Grain(x, y, 1405) - 128) / 16);
            }
            // A dark rim where the paint meets the metal.
            if (chip > 198 && chip <= 204) c.Set(x, y, kGrey, 40);
        }
}

} // namespace paint
