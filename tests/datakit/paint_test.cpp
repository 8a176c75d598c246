#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "interface_font.h"
#include "paint_noise.h"
#include "paint_palette.h"
#include "paint_shapes.h"
#include "paint_texture.h"

using namespace paint;

TEST(PaintNoise, EveryNoiseRepeatsExactlyAtItsPeriod) {
    for (int y = -40; y < 170; y += 7)
        for (int x = -40; x < 170; x += 5) {
            EXPECT_EQ(ValueNoise(x, y, 16, 4, 128, 9), ValueNoise(x + 128, y - 128, 16, 4, 128, 9));
            EXPECT_EQ(Fractal(x, y, 32, 5, 128, 3), Fractal(x - 128, y + 256, 32, 5, 128, 3));
            EXPECT_EQ(Grain(x, y, 4), Grain(x + 128, y + 128, 4));
            const Cells a = CellNoise(x, y, 32, 128, 5), b = CellNoise(x + 128, y, 32, 128, 5);
            EXPECT_EQ(a.nearest, b.nearest);
            EXPECT_EQ(a.second, b.second);
            EXPECT_EQ(a.id, b.id);
            EXPECT_LE(a.nearest, a.second);
        }
}

TEST(PaintNoise, ValueNoiseIsSmoothAndSpansItsRange) {
    int lowest = 255, highest = 0, roughest = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const int v = ValueNoise(x, y, 16, 16, 128, 1);
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
            roughest = std::max(roughest, std::abs(v - ValueNoise(x + 1, y, 16, 16, 128, 1)));
            roughest = std::max(roughest, std::abs(v - ValueNoise(x, y + 1, 16, 16, 128, 1)));
        }
    EXPECT_GE(lowest, 0);
    EXPECT_LE(highest, 255);
    EXPECT_GT(highest - lowest, 150);
    EXPECT_LE(roughest, 40) << "neighbouring pixels jump";
}

TEST(PaintNoise, SineAndSquareRootAreExact) {
    EXPECT_EQ(Sine(0), 0);
    EXPECT_EQ(Sine(256), 4096);
    EXPECT_EQ(Sine(512), 0);
    EXPECT_EQ(Sine(768), -4096);
    EXPECT_EQ(Sine(-256), Sine(768));
    EXPECT_EQ(Sine(1024 + 100), Sine(100));
    for (std::int64_t r : {0LL, 1LL, 2LL, 99LL, 4096LL, 1000000LL, 2147483647LL}) {
        EXPECT_EQ(Sqrt(r * r), r);
        if (r > 0) {
            EXPECT_EQ(Sqrt(r * r - 1), r - 1);
        }
    }
    EXPECT_EQ(Sqrt(-5), 0);
}

TEST(PaintShapes, AngleFollowsTheDirectionRoundTheWholeTurn) {
    EXPECT_EQ(Angle(10, 0), 0);
    EXPECT_EQ(Angle(0, 10), 256);
    EXPECT_EQ(Angle(-10, 0), 512);
    EXPECT_EQ(Angle(0, -10), 768);
    EXPECT_EQ(Angle(5, 5), 128);
    EXPECT_EQ(Angle(0, 0), 0);
    for (int a = 0; a < 1024; a += 9) {
        const double radians = a * 6.283185307179586 / 1024;
        const int dx = static_cast<int>(std::lround(std::cos(radians) * 1000));
        const int dy = static_cast<int>(std::lround(std::sin(radians) * 1000));
        const int error = (Angle(dx, dy) - a + 1536) % 1024 - 512;
        EXPECT_LE(std::abs(error), 2) << "angle " << a;
    }
}

TEST(PaintShapes, DistanceInsideCountsToTheNearestOutsidePixel) {
    // A 7 x 5 block inside a 9 x 7 picture.
    std::vector<std::uint8_t> mask(9 * 7, 0);
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 7; ++x) mask[static_cast<std::size_t>(y * 9 + x)] = 1;
    const std::vector<int> d = DistanceInside(mask, 9, 7);
    EXPECT_EQ(d[0], 0);
    EXPECT_EQ(d[1 * 9 + 1], 3);
    EXPECT_EQ(d[2 * 9 + 2], 6);
    EXPECT_EQ(d[3 * 9 + 4], 9); // the middle, three pixels from every edge
    // Pixels past the picture's edge count as outside.
    const std::vector<int> full = DistanceInside(std::vector<std::uint8_t>(4, 1), 2, 2);
    for (int v : full) EXPECT_EQ(v, 3);
}

TEST(PaintShapes, CoverageCountsSamplesOfTheUnionInEitherWinding) {
    // The left half of pixel (1, 0), given clockwise; the whole of pixel
    // (2, 0) twice, once each way round: overlaps count once.
    const Polygon half{{32, 0}, {48, 0}, {48, 32}, {32, 32}};
    const Polygon whole{{64, 0}, {96, 0}, {96, 32}, {64, 32}};
    const Polygon wholeBack{{64, 32}, {96, 32}, {96, 0}, {64, 0}};
    const std::vector<int> c = Coverage(4, 1, {half, whole, wholeBack});
    EXPECT_EQ(c, (std::vector<int>{0, 8, 16, 0}));
}

TEST(PaintTexture, FinishDithersBetweenLevelsAndKeepsTheKeyAndEntry255Out) {
    TextureCanvas canvas;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            canvas.Set(x, y, kSky, 8 * 16 + 8); // halfway between 8 and 9
    canvas.Set(0, 0, kGrey, -50);               // below the ramp: its darkest usable level
    canvas.Set(1, 0, kLava, 900);               // above: never entry 255
    canvas.clear(2, 0) = 1;
    const std::vector<std::uint8_t> pixels = Finish(canvas);
    EXPECT_EQ(pixels[0], 1);
    EXPECT_EQ(pixels[1], 254);
    EXPECT_EQ(pixels[2], 0);
    int eights = 0, nines = 0;
    for (int y = 4; y < 8; ++y)
        for (int x = 4; x < 8; ++x) {
            const int level = pixels[static_cast<std::size_t>(y * kSide + x)] - kSky * 16;
            eights += level == 8;
            nines += level == 9;
        }
    EXPECT_EQ(eights, 8);
    EXPECT_EQ(nines, 8);
}

TEST(PaintTexture, LightComesFromTheUpperLeftAndWrapsAtTheEdges) {
    Field height;
    Dome(height, 0, 0, 4, 40); // a bump on the corner, spilling over every edge
    const Field light = Emboss(height, 16);
    EXPECT_GT(light(-2, -2), 0) << "the upper left slope faces the light";
    EXPECT_LT(light(2, 2), 0) << "the lower right slope turns away";
    EXPECT_EQ(light(-2, -2), light(126, 126));
    EXPECT_EQ(Inset(5, 9, 0, 0, 127, 127), 5);
    EXPECT_LT(Inset(-1, 9, 0, 0, 127, 127), 0);
}

TEST(PaintFont, TextAdvancesByTheGlyphWidthPlusOneAndScales) {
    EXPECT_EQ(TextWidth(Font::kBig, "ABCD", 2), 4 * 8 * 2);
    EXPECT_EQ(TextWidth(Font::kSmall, "AB", 1), 8);
    EXPECT_FALSE(GlyphInk(Font::kBig, 31, 2, 2));
    EXPECT_FALSE(GlyphInk(Font::kBig, 132, 2, 2));
    EXPECT_FALSE(GlyphInk(Font::kBig, 'I', 7, 5)) << "outside the design";

    // "II" at scale 2 with a shadow: the second I is 16 pixels right of the
    // first, and the shadow lies 2 right and 2 down, under the ink.
    Image image(40, 30);
    PaintText(
        image, Font::kBig, "II", 1, 1, 2, [](int) { return std::uint8_t{200}; }, 9);
    int inkFirst = 0, inkSecond = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            if (image.Get(x, y) != 200) continue;
            (x < 17 ? inkFirst : inkSecond) += 1;
            EXPECT_EQ(image.Get(x - 16, y) == 200, x >= 17) << x << "," << y;
        }
    EXPECT_EQ(inkFirst, inkSecond);
    EXPECT_GT(inkFirst, 0);
    // The top bar of I: ink at design (1, 0) is pixel (3, 1); its shadow at (5, 3)
    // is covered by ink only where the glyph has ink there too.
    EXPECT_EQ(image.Get(3, 1), 200);
    EXPECT_EQ(image.Get(3 + 2, 1 + 2), GlyphInk(Font::kBig, 'I', 2, 1) ? 200 : 9);
}
