#include "media/image_blit.h"

#include <array>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "media/display.h"

namespace {

// A 4 x 2 image whose pixel (x, y) is 10 * y + x + 1.
const std::vector<std::uint8_t> kImage{1, 2, 3, 4, 11, 12, 13, 14};

class Blit : public ::testing::Test {
  protected:
    void SetUp() override {
        std::iota(identity.begin(), identity.end(), 0);
        for (int i = 0; i < 65536; ++i) keepSource[i] = static_cast<std::uint8_t>(i >> 8);
        MakeBitmapDescription(buffer, 8, 6);
        windowMode = false;
    }
    void TearDown() override { DisplayStartup(); }

    int At(int x, int y) const { return buffer.pixels[(windowMode ? 5 - y : y) * 8 + x]; }
    void Draw(int x, int y, int w, int h, bool transparent = false,
              const std::vector<std::uint8_t>& image = kImage, int iw = 4) {
        BlitScaledImage({image, iw, 2}, x, y, w, h, transparent, identity.data(), keepSource.data(),
                        buffer);
    }

    std::array<std::uint8_t, 256> identity{};
    std::vector<std::uint8_t> keepSource = std::vector<std::uint8_t>(65536);
    FrameBuffer buffer;
};

TEST_F(Blit, ClippedStartBeginsWithTheMatchingSourceColumnAndRow) {
    Draw(-2, -1, 4, 2);
    EXPECT_EQ(At(0, 0), 13);
    EXPECT_EQ(At(1, 0), 14);
    EXPECT_EQ(At(2, 0), 0);
    // Twice as wide from x = -3: the first drawn column falls in source
    // column 4 * 3 / 8 = 1, and the walk starts at that column's left edge.
    Draw(-3, 0, 8, 2);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(x, 0), (std::array{2, 2, 3, 3, 4})[x]) << x;
    // Three pixels eight wide from x = -1: the fraction of the clipped first
    // column is dropped, so the runs stay 3, 3, 1 rather than shifting.
    Draw(-1, 0, 8, 2, false, {1, 2, 3, 1, 2, 3}, 3);
    for (int x = 0; x < 7; ++x) EXPECT_EQ(At(x, 0), (std::array{1, 1, 1, 2, 2, 2, 3})[x]) << x;
    // Rows likewise: two rows five high from y = -2 start at the top edge of
    // row 2 * 2 / 5 = 0, so all three drawn rows show it.
    Draw(0, -2, 4, 5);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(At(0, y), 1) << y;
}

TEST_F(Blit, WindowModeMirrorsRowsAndTheLastColumnAndRowStayClear) {
    windowMode = true;
    Draw(0, 0, 8, 6);
    EXPECT_EQ(buffer.pixels[5 * 8], 1); // screen row 0 lives in the last buffer row
    EXPECT_EQ(At(6, 4), 14);
    for (int y = 0; y < 6; ++y) EXPECT_EQ(At(7, y), 0);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(At(x, 5), 0);
}

TEST_F(Blit, SkipsKeyColourAndMixesThroughTheTables) {
    std::vector<std::uint8_t> image = kImage;
    image[1] = 0;
    buffer.pixels.assign(buffer.pixels.size(), 42);
    identity[3] = 9;
    keepSource[9 * 256 + 42] = 200; // remapped 3 over 42
    Draw(0, 0, 4, 2, true, image);
    EXPECT_EQ(At(1, 0), 42);
    EXPECT_EQ(At(2, 0), 200);
    Draw(0, 0, 4, 2, false, image);
    EXPECT_EQ(At(1, 0), 0);
}

TEST_F(Blit, DegenerateRequestsDrawNothing) {
    const std::vector<std::uint8_t> before = buffer.pixels;
    Draw(0, 0, 0, 2);
    Draw(0, 0, 4, -2);
    Draw(8, 0, 4, 2);
    Draw(-5, 0, 4, 2);
    Draw(7, 0, 4, 2);                   // only the never-drawn last column
    Draw(0, 0, 4, 2, false, kImage, 5); // fewer pixels than the size says
    Draw(2000000000, 0, 2000000000, 2);
    EXPECT_EQ(buffer.pixels, before);
}

} // namespace
