#include "engine/rasterizer.h"

#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "engine/mesh.h"

namespace {

constexpr int kW = 40, kH = 30;
constexpr std::uint8_t kBackground = 7;

// A small buffer with an identity shade table and a blend table whose
// level 16 gives the destination and every other level a marker colour.
struct Canvas {
    FrameBuffer buffer;
    ShadeTable shades{};
    std::unique_ptr<BlendTable> blends = std::make_unique<BlendTable>();
    RasterTarget target;

    explicit Canvas(bool bottomUp = false) {
        buffer.width = kW;
        buffer.height = kH;
        buffer.pixels.assign(kW * (kH + kFrameSpareRows), kBackground);
        for (int s = 0; s < 256; ++s)
            for (int c = 0; c < 256; ++c) shades[s * 256 + c] = static_cast<std::uint8_t>(c);
        for (int e = 0; e < kBlendPlanes; ++e)
            for (int a = 0; a < 256; ++a)
                for (int b = 0; b < 256; ++b)
                    (*blends)[e * 65536 + a * 256 + b] =
                        static_cast<std::uint8_t>(e == 16 ? b : 200 + e);
        target.pixels = buffer.pixels.data();
        target.width = kW;
        target.cx = kW / 2, target.cy = kH / 2;
        target.fx = kW * 128 / 320, target.fy = kH * 128 / 240;
        target.maxX = kW - 1, target.maxY = kH - 1;
        target.planeScale = 5;
        target.segmentLength = 4;
        target.bottomUp = bottomUp;
        target.shades = &shades;
        target.blends = blends.get();
    }
    std::uint8_t At(int x, int row) const { return buffer.pixels[row * kW + x]; }
    int RowCount(int row) const {
        int n = 0;
        for (int x = 0; x < kW; ++x) n += At(x, row) != kBackground;
        return n;
    }
    int Changed() const {
        int n = 0;
        for (std::uint8_t p : buffer.pixels) n += p != kBackground;
        return n;
    }
};

RasterTriangle Flat(std::initializer_list<std::pair<int, int>> corners, std::uint8_t colour) {
    RasterTriangle t;
    int i = 0;
    for (auto [x, y] : corners) t.sx[i] = x, t.sy[i] = y, t.x[i] = t.y[i] = t.z[i] = 0, ++i;
    t.kind = kFaceFlat;
    t.colour = colour;
    return t;
}

// A face-on textured triangle filling the whole frame: camera-space corners
// at depth 100 that project far beyond the frame's edges.
RasterTriangle CoveringTextured(const std::uint8_t* image, int kind) {
    RasterTriangle t;
    const int cam[3][2] = {{-2000, 2000}, {2000, 2000}, {0, -2000}};
    const int screen[3][2] = {{-300, -300}, {300, -300}, {kW / 2, 300}};
    for (int i = 0; i < 3; ++i) {
        t.x[i] = cam[i][0], t.y[i] = cam[i][1], t.z[i] = 100;
        t.sx[i] = screen[i][0], t.sy[i] = screen[i][1];
    }
    t.kind = kind;
    t.image = image;
    return t;
}

} // namespace

TEST(Rasterizer, RowRangesOfTheTwoHalves) {
    Canvas flatTop;
    DrawTriangle(flatTop.target, Flat({{5, 3}, {30, 3}, {17, 3}}, 1)); // yt = yb
    EXPECT_EQ(flatTop.Changed(), 0);

    // Middle corner on the top row: only the lower half, bottom row excluded.
    DrawTriangle(flatTop.target, Flat({{10, 0}, {30, 0}, {20, 10}}, 1));
    EXPECT_GT(flatTop.RowCount(0), 15);
    EXPECT_GT(flatTop.RowCount(9), 0);
    EXPECT_EQ(flatTop.RowCount(10), 0);

    // A triangle over the whole frame never fills the last row or column.
    Canvas full;
    DrawTriangle(full.target, Flat({{-100, -100}, {200, -100}, {20, 200}}, 1));
    EXPECT_EQ(full.RowCount(0), kW - 1);
    EXPECT_EQ(full.RowCount(kH - 2), kW - 1);
    EXPECT_EQ(full.RowCount(kH - 1), 0);
}

TEST(Rasterizer, WindowModeMirrorsRows) {
    Canvas canvas(true);
    DrawTriangle(canvas.target, Flat({{0, 0}, {20, 0}, {0, 3}}, 1));
    EXPECT_GT(canvas.RowCount(kH - 1), 0); // scene row 0
    EXPECT_GT(canvas.RowCount(kH - 3), 0);
    EXPECT_EQ(canvas.RowCount(0), 0);
}

TEST(Rasterizer, KeyedTexelsAndTransparency) {
    TextureImage holes{};
    TextureImage solid{};
    solid.fill(5);

    for (int level : {0, 8}) {
        Canvas canvas;
        RasterTriangle t = CoveringTextured(holes.data(), kFaceTexturedKeyed);
        t.transparency = level;
        DrawTriangle(canvas.target, t);
        EXPECT_EQ(canvas.Changed(), 0) << "level " << level;
    }

    Canvas canvas;
    RasterTriangle t = CoveringTextured(solid.data(), kFaceTextured);
    t.transparency = 16;
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.Changed(), 0); // level 16 is the destination

    t.transparency = 0; // opaque: the blend table is not consulted
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.At(kW / 2, kH / 2), 5);

    t.transparency = 8;
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.At(kW / 2, kH / 2), 208);
}

TEST(Rasterizer, PlaneTooSmallForTexturingStillFillsFlat) {
    // Normal components below 128 * 5 scale to zero: every ray misses.
    TextureImage solid{};
    solid.fill(5);
    RasterTriangle t = CoveringTextured(solid.data(), kFaceTextured);
    const int cam[3][2] = {{0, 0}, {20, 0}, {20, 20}};
    for (int i = 0; i < 3; ++i) t.x[i] = cam[i][0], t.y[i] = cam[i][1];
    Canvas canvas;
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.Changed(), 0);
    t.kind = kFaceFlat;
    t.colour = 9;
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.At(kW / 2, kH / 2), 9);
}

TEST(Rasterizer, NeverWritesOutsideThePicture) {
    TextureImage image{};
    image.fill(3);
    std::mt19937 random(1234);
    const std::int32_t extremes[] = {INT32_MIN, -1000000, -1, 0, 1, 39, 40, 1000000, INT32_MAX};
    auto pick = [&]() -> std::int32_t {
        if (random() % 3 == 0) return extremes[random() % std::size(extremes)];
        return static_cast<std::int32_t>(random() % 200) - 80;
    };
    for (bool bottomUp : {false, true}) {
        Canvas canvas(bottomUp);
        // A projection made for a larger view must not lead outside the buffer.
        canvas.target.maxX = 500;
        canvas.target.maxY = 500;
        RenderContext context;
        context.projection.cx = 250, context.projection.cy = 250;
        context.projection.maxX = 499, context.projection.maxY = 499;
        const RasterTarget clamped = MakeRasterTarget(canvas.buffer, context, bottomUp);
        EXPECT_EQ(clamped.maxX, kW - 1);
        EXPECT_EQ(clamped.maxY, kH - 1);

        canvas.target.maxX = kW - 1;
        canvas.target.maxY = kH - 1;
        for (int n = 0; n < 20000; ++n) {
            RasterTriangle t;
            for (int i = 0; i < 3; ++i) {
                t.sx[i] = pick(), t.sy[i] = pick();
                t.x[i] = pick(), t.y[i] = pick(), t.z[i] = pick();
            }
            t.kind = static_cast<int>(random() % 4);
            t.image = image.data();
            t.transparency = static_cast<int>(random() % 20) - 2;
            t.shade = static_cast<int>(random() % 300) - 20;
            t.flip = static_cast<int>(random() % 2);
            DrawTriangle(canvas.target, t);
        }
        for (int row = kH; row < kH + kFrameSpareRows; ++row) EXPECT_EQ(canvas.RowCount(row), 0);
    }
}
