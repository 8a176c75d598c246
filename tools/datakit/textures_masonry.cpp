// Walls and ground: bricks, stone blocks, mossy stone, rock, earth and grass.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "paint_noise.h"
#include "paint_palette.h"
#include "textures_painters.h"

namespace paint {

namespace {

constexpr int kPeriod = kSide;

// Fine chisel and grit on a surface, centred on 0.
int Grit(int x, int y, std::uint32_t seed) {
    return (Fractal(x, y, 16, 4, kPeriod, seed) - 128) / 3 + (Grain(x, y, seed) - 128) / 10;
}

// The block layout shared by the stone walls: four courses of 32 rows, each
// cut at its own joints (x positions, ascending, wrapping past 128).
struct Block {
    int course = 0, index = 0; // which block
    int inside = 0;            // distance to the nearest joint, 0 on the joint
    int fromTop = 0;           // rows below the course's top joint
};

Block StoneBlockAt(int x, int y) {
    static constexpr std::array<std::array<int, 3>, 4> kJoints{
        {{0, 40, 88}, {20, 64, 104}, {8, 56, 96}, {30, 72, 112}}};
    Block b;
    b.course = y / 32;
    const int ly = y % 32;
    const auto& joints = kJoints[static_cast<std::size_t>(b.course)];
    // Blocks span from one joint to the next; the last one wraps past 128.
    const int xx = x < joints[0] ? x + kSide : x;
    int left = 0, right = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const int from = joints[i], to = i < 2 ? joints[i + 1] : joints[0] + kSide;
        if (xx >= from && xx < to) {
            left = from;
            right = to;
            b.index = static_cast<int>(i);
        }
    }
    // Joints are two pixels wide: the first two columns and rows of each block.
    const int dx = std::min(xx - left - 2, right - 1 - xx);
    const int dy = std::min(ly - 2, 31 - ly);
    b.inside = std::min(dx, dy) + 1;
    b.fromTop = ly - 2;
    return b;
}

void PaintStoneWall(TextureCanvas& c, std::uint32_t seed, bool mossy) {
    Field height, moss;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const Block b = StoneBlockAt(x, y);
            const std::uint32_t id = Hash(static_cast<std::uint32_t>(b.course),
                                          static_cast<std::uint32_t>(b.index), seed);
            // Worn edges: the noise eats into the block's border.
            const int wear = (Fractal(x, y, 8, 3, kPeriod, seed + 5) - 128) / 40;
            const int inside = b.inside + wear;
            const int tone = static_cast<int>(id % 41) - 20;
            if (inside <= 0) {
                height(x, y) = (Grain(x, y, seed) & 7);
                c.Set(x, y, kGrey, 52 + (Fractal(x, y, 8, 2, kPeriod, seed + 9) - 128) / 4);
            } else {
                height(x, y) = 30 + std::min(inside, 4) * 7 + Grit(x, y, seed) / 3;
                const bool cool = (id >> 8) % 9 == 0;
                c.Set(x, y, cool ? kSteel : kGrey,
                      (cool ? 126 : 138) + tone + Grit(x, y, seed + 1));
                // Small dark pits.
                if (Grain(x, y, seed + 2) > 250) c.value(x, y) -= 40;
            }
            if (mossy) {
                // Moss gathers in the joints and along the tops of blocks,
                // thickened by slow noise.
                const int patch = Fractal(x, y, 32, 4, kPeriod, seed + 21) - 128;
                const int nearJoint = inside <= 0 ? 60 : std::max(0, 30 - inside * 6);
                const int onTop = b.fromTop >= 0 && b.fromTop < 8 ? (8 - b.fromTop) * 6 : 0;
                moss(x, y) =
                    patch + nearJoint + onTop + (Fractal(x, y, 4, 2, kPeriod, seed + 22) - 128) / 3;
            }
        }
    }
    const Field light = Emboss(height, 30);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            c.value(x, y) += light(x, y);
            if (mossy && moss(x, y) > 40) {
                const int depth = moss(x, y) - 40;
                const int ramp = (Fractal(x, y, 16, 2, kPeriod, 77) > 150) ? kGrass : kMoss;
                c.Set(x, y, ramp,
                      96 + std::min(depth, 40) + (Fractal(x, y, 4, 2, kPeriod, 31) - 128) / 2 +
                          light(x, y) / 3);
                if (depth < 6) c.value(x, y) -= 24; // the moss's shaded rim
            }
        }
    }
}

// Earth with clumps and small stones; `seed` varies the pattern.
void PaintSoil(TextureCanvas& c, std::uint32_t seed) {
    Field height;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int clumps = Fractal(x, y, 32, 5, kPeriod, seed);
            const int crumbs = Fractal(x, y, 8, 3, kPeriod, seed + 7);
            int h = clumps / 3 + crumbs / 3;
            c.Set(x, y, kEarth, 92 + (clumps - 128) / 2 + (Grain(x, y, seed + 1) - 128) / 8);
            const Cells stones = CellNoise(x, y, 16, kPeriod, seed + 3);
            const int radius = 1 + static_cast<int>(stones.id % 3);
            if (stones.id % 4 == 0 && stones.nearest <= radius) {
                const int ramp = (stones.id >> 4) % 3 == 0 ? kEarth : kGrey;
                c.Set(x, y, ramp,
                      (ramp == kEarth ? 150 : 100) + static_cast<int>((stones.id >> 8) % 30));
                h += 20 + (radius - stones.nearest) * 10;
            }
            height(x, y) = h;
        }
    }
    AddLight(c, height, 34);
}

// One blade of grass drawn as a short stroke from (x, y) toward (dx, dy) in 1/16 pixels.
void Blade(TextureCanvas& c, int x, int y, int dx, int dy, int length, int value) {
    int px = x * 16, py = y * 16;
    for (int i = 0; i < length; ++i) {
        const int brightness = value + i * 6; // tips catch more light
        c.Set(px / 16, py / 16, kGrass, brightness);
        px += dx;
        py += dy;
    }
}

} // namespace

void PaintPlainGrey(TextureCanvas& c) {
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            c.Set(x, y, kGrey, 136 + (Fractal(x, y, 32, 4, kPeriod, 1) - 128) / 8);
}

void PaintBricks(TextureCanvas& c) {
    Field height, tone;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int course = y / 16;
            const int bx = WrapSide(x + (course % 2) * 16);
            const int lx = bx % 32, ly = y % 16;
            const std::uint32_t id =
                Hash(static_cast<std::uint32_t>(bx / 32), static_cast<std::uint32_t>(course), 11);
            const int wear = (Fractal(x, y, 4, 2, kPeriod, 12) - 128) / 40;
            const int inside = std::min({lx - 2, 31 - lx, ly, 13 - ly}) + 1 + wear;
            if (inside <= 0) {
                height(x, y) = Grain(x, y, 13) & 7;
                c.Set(x, y, kGrey, 96 + (Fractal(x, y, 8, 3, kPeriod, 14) - 128) / 3);
                continue;
            }
            height(x, y) =
                24 + std::min(inside, 3) * 9 + (Fractal(x, y, 8, 3, kPeriod, 15) - 128) / 10;
            int ramp = kBrick, base = 150;
            if (id % 9 == 0) {
                ramp = kTerracotta;
                base = 112;
            } else if (id % 11 == 3) {
                base = 118;
            }
            int v = base + static_cast<int>((id >> 8) % 33) - 16;
            v += (Fractal(x, y, 16, 4, kPeriod, 16) - 128) / 4 + (Grain(x, y, 17) - 128) / 12;
            if (Grain(x, y, 18) > 248) v -= 40; // pits in the fired clay
            c.Set(x, y, ramp, v);
        }
    }
    AddLight(c, height, 36);
}

void PaintStoneBlocks(TextureCanvas& c) {
    PaintStoneWall(c, 201, false);
}

void PaintMossyStone(TextureCanvas& c) {
    PaintStoneWall(c, 233, true);
}

void PaintRock(TextureCanvas& c) {
    // Rough ridged rock split by dark cracks, cool grey with faint warm veins.
    Field height;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int ridge = 255 - std::abs(Fractal(x, y, 32, 4, kPeriod, 301) * 2 - 255);
            int h = Fractal(x, y, 64, 5, kPeriod, 302) + ridge / 2;
            // Warped cells give wandering cracks.
            const int wx = x + (Fractal(x, y, 16, 2, kPeriod, 307) - 128) / 8;
            const int wy = y + (Fractal(x, y, 16, 2, kPeriod, 308) - 128) / 8;
            const Cells cracks = CellNoise(wx, wy, 64, kPeriod, 303);
            const bool crack = cracks.second - cracks.nearest < 2;
            if (crack) h -= 50;
            height(x, y) = h;
            const int vein = Fractal(x, y, 32, 3, kPeriod, 304);
            int v = 70 + (h - 190) / 3 + (Grain(x, y, 305) - 128) / 10;
            if (Grain(x, y, 306) > 250) v += 50; // glinting grains
            c.Set(x, y, vein > 196 ? kEarth : (vein > 140 ? kSteel : kGrey), crack ? v - 30 : v);
        }
    }
    AddLight(c, height, 22);
}

void PaintEarth(TextureCanvas& c) {
    PaintSoil(c, 401);
}

void PaintRootedSoil(TextureCanvas& c) {
    PaintSoil(c, 431);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            c.value(x, y) -= 40; // damp, darker than loose earth
            // Roots along two sets of contour lines of smooth noise: pale
            // strands with a dark edge where they sink into the soil.
            const int strands = std::min(std::abs(Fractal(x, y, 32, 3, kPeriod, 441) - 128),
                                         std::abs(Fractal(x, y, 16, 2, kPeriod, 443) - 128));
            if (strands <= 2)
                c.Set(x, y, kWood, 190 + (Grain(x, y, 445) - 128) / 6 - strands * 16);
            else if (strands <= 4)
                c.Set(x, y, kEarth, 30);
        }
}

void PaintGrassTop(TextureCanvas& c) {
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int patch = Fractal(x, y, 32, 4, kPeriod, 501);
            c.Set(x, y, kGrass, 84 + (patch - 128) / 2 + (Grain(x, y, 502) - 128) / 10);
            if (patch > 168)
                c.Set(x, y, kMoss, 120 + (patch - 168) / 2 + (Grain(x, y, 503) - 128) / 10);
        }
    }
    // Blades seen from above, in every direction.
    for (int i = 0; i < 900; ++i) {
        const std::uint32_t h = Hash(static_cast<std::uint32_t>(i), 7, 504);
        const int x = static_cast<int>(h % 128), y = static_cast<int>((h >> 7) % 128);
        const int angle = static_cast<int>((h >> 14) % 1024);
        const int dx = Sine(angle + 256) / 256, dy = Sine(angle) / 256;
        const int length = 3 + static_cast<int>((h >> 24) % 5);
        c.Set(x - dx / 16, y - dy / 16 + 1, kGrass, 30);
        Blade(c, x, y, dx, dy, length, 100 + static_cast<int>((h >> 20) % 70));
    }
    // A few small flowers.
    for (int i = 0; i < 9; ++i) {
        const std::uint32_t h = Hash(static_cast<std::uint32_t>(i), 3, 505);
        const int x = static_cast<int>(h % 128), y = static_cast<int>((h >> 7) % 128);
        const int petals = (h >> 16) % 2 ? kPink : kGrey;
        for (int py = -2; py <= 2; ++py)
            for (int px = -2; px <= 2; ++px)
                if (px * px + py * py <= 4 && (px != 0 || py != 0))
                    c.Set(x + px, y + py, petals, 236 - (px + py) * 12);
        c.Set(x, y, kGold, 230);
        c.Set(x + 2, y + 2, kGrass, 24);
    }
}

void PaintGrassSide(TextureCanvas& c) {
    PaintSoil(c, 411);
    for (int x = 0; x < kSide; ++x) {
        // The fringe hangs to an uneven depth, with single blades reaching lower.
        int depth = 16 + (ValueNoise(x, 0, 16, 16, kPeriod, 511) - 128) / 14 +
                    (ValueNoise(x, 0, 4, 4, kPeriod, 512) - 128) / 24;
        const std::uint32_t h = Hash(static_cast<std::uint32_t>(x), 0, 513);
        if (h % 5 == 0) depth += 2 + static_cast<int>((h >> 8) % 5);
        for (int y = 0; y < depth + 5; ++y) {
            if (y < depth) {
                const int shade = 150 - y * 4 + (Grain(x, y, 514) - 128) / 4 +
                                  ((x + (h >> 4) % 3) % 3 == 0 ? -24 : 0);
                c.Set(x, y, y < 3 ? kGrass : (Grain(x, y, 515) > 200 ? kMoss : kGrass), shade);
            } else {
                c.value(x, y) -= (depth + 5 - y) * 9; // shadow under the fringe
            }
        }
    }
}

} // namespace paint
