#include "draw/rasterizer.h"

#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "engine/mesh.h"

namespace {

constexpr int kW = 40, kH = 30;
constexpr std::uint8_t kBackground = 7;

// A small buffer with an identity shade table and a blend table whose
// level 16 gives the destination and level e < 16 the marker colour 200 + e.
struct Canvas {
    FrameBuffer buffer;
    ShadeTable shades{};
    std::unique_ptr<BlendTable> blends = std::make_unique<BlendTable>();
    RasterTarget target;

    explicit Canvas(bool bottomUp = false) {
        buffer.width = kW, buffer.height = kH;
        buffer.pixels.assign(kW * (kH + kFrameSpareRows), kBackground);
        for (int i = 0; i < 65536; ++i) shades[i] = static_cast<std::uint8_t>(i & 255);
        for (int i = 0; i < kBlendPlanes * 65536; ++i)
            (*blends)[i] = static_cast<std::uint8_t>(i >> 16 == 16 ? i & 255 : 200 + (i >> 16));
        target = RasterTarget{buffer.pixels.data(),
                              kW,
                              kW / 2,
                              kH / 2,
                              16,
                              16,
                              kW - 1,
                              kH - 1,
                              5,
                              4,
                              bottomUp,
                              &shades,
                              blends.get()};
    }
    std::uint8_t At(int x, int row) const { return buffer.pixels[row * kW + x]; }
    int RowCount(int row) const {
        int n = 0;
        for (int x = 0; x < kW; ++x) n += At(x, row) != kBackground;
        return n;
    }
};

RasterTriangle Flat(std::initializer_list<std::pair<int, int>> corners, std::uint8_t colour) {
    RasterTriangle t{};
    int i = 0;
    for (auto [x, y] : corners) t.sx[i] = x, t.sy[i] = y, ++i;
    t.kind = kFaceFlat;
    t.colour = colour;
    return t;
}

// A face-on textured triangle at depth 100 whose corners lie far outside
// the frame, so it covers all of it.
RasterTriangle CoveringTextured(const TextureImage& image, int kind) {
    RasterTriangle t = Flat({{-300, -300}, {300, -300}, {kW / 2, 300}}, 0);
    const int cam[3][2] = {{-2000, 2000}, {2000, 2000}, {0, -2000}};
    for (int i = 0; i < 3; ++i) t.x[i] = cam[i][0], t.y[i] = cam[i][1], t.z[i] = 100;
    t.kind = kind;
    t.image = image.data();
    return t;
}

} // namespace

TEST(Rasterizer, RowRangesAndRowOrder) {
    Canvas canvas;
    DrawTriangle(canvas.target, Flat({{5, 3}, {30, 3}, {17, 3}}, 1)); // yt = yb
    for (int row = 0; row < kH; ++row) EXPECT_EQ(canvas.RowCount(row), 0);

    // Middle corner on the top row: only the lower half, bottom row excluded.
    DrawTriangle(canvas.target, Flat({{10, 0}, {30, 0}, {20, 10}}, 1));
    EXPECT_GT(canvas.RowCount(0), 15);
    EXPECT_GT(canvas.RowCount(9), 0);
    EXPECT_EQ(canvas.RowCount(10), 0);

    // Over the whole frame: the last row and column are never filled.
    DrawTriangle(canvas.target, Flat({{-100, -100}, {200, -100}, {20, 200}}, 1));
    EXPECT_EQ(canvas.RowCount(0), kW - 1);
    EXPECT_EQ(canvas.RowCount(kH - 1), 0);

    // Window mode: scene row 0 lands in the buffer's last row.
    Canvas window(true);
    DrawTriangle(window.target, Flat({{0, 0}, {20, 0}, {0, 3}}, 1));
    EXPECT_GT(window.RowCount(kH - 1), 0);
    EXPECT_EQ(window.RowCount(0), 0);
}

TEST(Rasterizer, KeyedTexelsTransparencyAndMissedPlanes) {
    TextureImage holes{}, solid{};
    solid.fill(5);
    for (int level : {0, 8}) {
        Canvas canvas;
        RasterTriangle t = CoveringTextured(holes, kFaceTexturedKeyed);
        t.transparency = level;
        DrawTriangle(canvas.target, t);
        EXPECT_EQ(canvas.At(kW / 2, kH / 2), kBackground) << "level " << level;
    }

    Canvas canvas;
    RasterTriangle t = CoveringTextured(solid, kFaceTextured);
    t.transparency = 16; // the destination
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.At(kW / 2, kH / 2), kBackground);
    t.transparency = 0; // opaque: the blend table is not consulted
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.At(kW / 2, kH / 2), 5);
    t.transparency = 8;
    DrawTriangle(canvas.target, t);
    EXPECT_EQ(canvas.At(kW / 2, kH / 2), 208);

    // Normal components below 128 * 5 scale to zero: every ray misses the
    // plane, so the textured triangle draws nothing and a flat one fills.
    Canvas small;
    const int cam[3][2] = {{0, 0}, {20, 0}, {20, 20}};
    for (int i = 0; i < 3; ++i) t.x[i] = cam[i][0], t.y[i] = cam[i][1];
    t.transparency = 0;
    DrawTriangle(small.target, t);
    EXPECT_EQ(small.At(kW / 2, kH / 2), kBackground);
    t.kind = kFaceFlat;
    t.colour = 9;
    DrawTriangle(small.target, t);
    EXPECT_EQ(small.At(kW / 2, kH / 2), 9);
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
        // A projection made for a larger view is limited to the buffer.
        RenderContext context;
        context.projection.maxX = context.projection.maxY = 499;
        const RasterTarget clamped = MakeRasterTarget(canvas.buffer, context, bottomUp);
        EXPECT_EQ(clamped.maxX, kW - 1);
        EXPECT_EQ(clamped.maxY, kH - 1);

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
