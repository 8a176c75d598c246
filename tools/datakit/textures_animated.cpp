// Moving surfaces (lava, water, the exit portal), each a smooth cycle over
// its images.
#include <algorithm>
#include <cstdlib>

#include "paint_noise.h"
#include "paint_palette.h"
#include "paint_shapes.h"
#include "textures_painters.h"

namespace paint {

namespace {

constexpr int kPeriod = kSide;

// A wave across the texture: `kx` and `ky` whole cycles over 128 pixels on
// each axis, `speed` whole turns over the animation's cycle of `frames`.
int Wave(int x, int y, int kx, int ky, int speed, int frame, int frames, int offset) {
    return Sine(8 * (kx * x + ky * y) + speed * frame * 1024 / frames + offset);
}

} // namespace

void PaintLava(TextureCanvas& c, int frame) {
    Field height;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            // The melt churns: its coordinates sway on slow waves that come
            // back to where they started after the last image.
            const int wx = x + Wave(x, y, 0, 2, 1, frame, kLavaFrames, 0) * 5 / 4096;
            const int wy = y + Wave(x, y, 2, 0, 1, frame, kLavaFrames, 300) * 5 / 4096;
            const int melt = Fractal(wx, wy, 32, 4, kPeriod, 2101);
            const Cells crust = CellNoise(wx, wy, 32, kPeriod, 2102);
            const int pulse = Sine(static_cast<int>(crust.id % 1024) + frame * 1024 / kLavaFrames);
            const int seam = crust.second - crust.nearest;
            if (seam > 7 + pulse / 2048) {
                // A plate of dark crust, glowing faintly at its edges.
                const int v = 40 + (melt - 128) / 3 + std::max(0, 12 - seam) * 6;
                c.Set(x, y, kLava, v);
                height(x, y) = 30 + std::min(seam, 8) * 2;
            } else {
                // Molten rock between the plates, hottest in the middle.
                const int v = 200 + (melt - 128) / 2 - seam * 10 + pulse / 200;
                c.Set(x, y, v > 235 ? kGold : kLava, v > 235 ? v : v);
                height(x, y) = 0;
            }
        }
    AddLight(c, height, 20);
}

void PaintWater(TextureCanvas& c, int frame) {
    // Deep water drowns whoever walks in, so it must not look like a pleasant
    // pond: dark, with a whirlpool in every cell whose foaming arms turn inward,
    // one third of a turn per cycle, to a black hole in the middle. Towards the
    // cell's edges the vortex fades into plain dark water, so cells join.
    constexpr int kMid = kSide / 2;
    const int t = frame * 1024 / kWaterFrames;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int ax = x + Sine(8 * y + t) * 4 / 4096,
                      ay = y + Sine(16 * x + t + 300) * 4 / 4096;
            const int murk = Fractal(ax, ay, 32, 3, kPeriod, 2201);
            const int dx = x - kMid, dy = y - kMid;
            const int r = Sqrt(dx * dx + dy * dy);
            const int fade = std::clamp(60 - r, 0, 40); // 40 in the middle, 0 at the edges
            const int arms = Sine(Angle(dx, dy) * 3 + r * 14 - t);
            int ramp = kDeepBlue;
            int v = 34 + (murk - 128) / 4;
            if (arms > 2000 && fade > 4) {
                // Thin foam along the arms, brightest halfway out.
                ramp = kTeal;
                v = 40 + (arms - 2000) * fade / 2000;
            }
            v -= std::max(0, 20 - r) * 3; // the hole in the middle
            c.Set(x, y, ramp, std::clamp(v, 4, 200));
        }
}

void PaintPortal(TextureCanvas& c, int frame) {
    constexpr int kMid = kSide / 2;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int dx = x - kMid, dy = y - kMid;
            const int r = Sqrt(dx * dx + dy * dy);
            const int inset = std::min({x, y, kSide - 1 - x, kSide - 1 - y});
            if (inset < 6) {
                // A dark stone rim keeps the face's edges the same on every side.
                c.Set(x, y, kViolet, 30 + inset * 4 + (Grain(x, y, 2301) - 128) / 12);
                continue;
            }
            // Three spiral arms turning inward, one quarter turn per image.
            const int angle = Angle(dx, dy);
            const int arms = Sine(angle * 3 + r * 12 - frame * 1024 / kPortalFrames);
            const int rings = Sine(r * 24 - frame * 1024 / kPortalFrames);
            int v = 235 - r * 3 + arms / 110 + rings / 256;
            v -= std::max(0, 10 - inset) * 8;
            int ramp = kViolet;
            if (v > 200) ramp = kPink;
            if (r < 12) v = 255 - r * 2; // a white-hot heart
            c.Set(x, y, ramp, v);
        }
}

} // namespace paint
