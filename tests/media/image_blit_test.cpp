#include "media/image_blit.h"

#include <array>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "media/display.h"

namespace {

class Blit : public ::testing::Test {
  protected:
    void SetUp() override {
        std::iota(identity.begin(), identity.end(), 0);
        // Mixing that keeps the source colour, as blend level 0 does.
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d) keepSource[s * 256 + d] = static_cast<std::uint8_t>(s);
        MakeBitmapDescription(buffer, 8, 6);
        windowMode = false;
    }
    void TearDown() override { DisplayStartup(); }

    // Screen pixel (x, y) in the current row order.
    int At(int x, int y) const {
        const int row = windowMode ? buffer.height - 1 - y : y;
        return buffer.pixels[row * buffer.width + x];
    }

    void Draw(const std::vector<std::uint8_t>& pixels, int iw, int ih, int x, int y, int w, int h,
              bool transparent = false) {
        BlitScaledImage({pixels, iw, ih}, x, y, w, h, transparent, identity.data(),
                        keepSource.data(), buffer);
    }

    std::array<std::uint8_t, 256> identity{};
    std::vector<std::uint8_t> keepSource = std::vector<std::uint8_t>(65536);
    FrameBuffer buffer;
};

// A 4 x 2 image whose pixel (x, y) is 10 * y + x + 1.
const std::vector<std::uint8_t> kImage{1, 2, 3, 4, 11, 12, 13, 14};

TEST_F(Blit, CopiesOneToOneAndLeavesTransparentPixels) {
    std::vector<std::uint8_t> image = kImage;
    image[1] = 0;
    buffer.pixels.assign(buffer.pixels.size(), 99);
    Draw(image, 4, 2, 1, 1, 4, 2, true);
    EXPECT_EQ(At(1, 1), 1);
    EXPECT_EQ(At(2, 1), 99); // colour 0 skipped
    EXPECT_EQ(At(4, 2), 14);
    EXPECT_EQ(At(0, 1), 99);
    EXPECT_EQ(At(5, 1), 99);
    // Without the flag colour 0 is drawn like any other.
    Draw(image, 4, 2, 1, 1, 4, 2, false);
    EXPECT_EQ(At(2, 1), 0);
}

TEST_F(Blit, StartingLeftOfTheBufferBeginsWithTheMatchingSourceColumn) {
    Draw(kImage, 4, 2, -2, 0, 4, 2);
    EXPECT_EQ(At(0, 0), 3);
    EXPECT_EQ(At(1, 0), 4);
    EXPECT_EQ(At(0, 1), 13);
    EXPECT_EQ(At(2, 0), 0);

    // Stretched twice as wide: buffer column 0 is destination column 3, which
    // shows source column 1.
    buffer.pixels.assign(buffer.pixels.size(), 0);
    Draw(kImage, 4, 2, -3, 0, 8, 2);
    EXPECT_EQ(At(0, 0), 2);
    EXPECT_EQ(At(1, 0), 3);
    EXPECT_EQ(At(2, 0), 3);
    EXPECT_EQ(At(3, 0), 4);
    EXPECT_EQ(At(4, 0), 4);

    // Starting above the buffer likewise skips the hidden source rows.
    buffer.pixels.assign(buffer.pixels.size(), 0);
    Draw(kImage, 4, 2, 0, -1, 4, 2);
    EXPECT_EQ(At(0, 0), 11);
}

TEST_F(Blit, StretchesAndShrinksInFixedPointSteps) {
    Draw(kImage, 4, 2, 0, 0, 8, 4); // only 7 x 4 of it fit: the last column stays clear
    EXPECT_EQ(At(0, 0), 1);
    EXPECT_EQ(At(1, 0), 1);
    EXPECT_EQ(At(2, 1), 2);
    EXPECT_EQ(At(6, 3), 14);
    EXPECT_EQ(At(7, 0), 0);

    buffer.pixels.assign(buffer.pixels.size(), 0);
    Draw(kImage, 4, 2, 0, 0, 2, 1); // every second column of the first row
    EXPECT_EQ(At(0, 0), 1);
    EXPECT_EQ(At(1, 0), 3);
    EXPECT_EQ(At(2, 0), 0);
    EXPECT_EQ(At(0, 1), 0);
}

TEST_F(Blit, NeverDrawsTheLastColumnOrRow) {
    std::vector<std::uint8_t> image(8 * 6, 5);
    Draw(image, 8, 6, 0, 0, 8, 6);
    EXPECT_EQ(At(6, 4), 5);
    for (int y = 0; y < 6; ++y) EXPECT_EQ(At(7, y), 0);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(At(x, 5), 0);
}

TEST_F(Blit, WindowModeWalksTheRowsMirrored) {
    windowMode = true;
    Draw(kImage, 4, 2, 0, 0, 4, 2);
    // Screen row 0 lives in the last buffer row.
    EXPECT_EQ(buffer.pixels[5 * 8 + 0], 1);
    EXPECT_EQ(buffer.pixels[4 * 8 + 3], 14);
    EXPECT_EQ(buffer.pixels[0], 0);
    EXPECT_EQ(At(3, 1), 14);
}

TEST_F(Blit, GoesThroughRemapAndMixingTable) {
    std::array<std::uint8_t, 256> remap{};
    remap[1] = 7;
    std::vector<std::uint8_t> mixing(65536, 0);
    mixing[7 * 256 + 42] = 200; // remapped source 7 over destination 42
    buffer.pixels.assign(buffer.pixels.size(), 42);
    const std::vector<std::uint8_t> image{1};
    BlitScaledImage({image, 1, 1}, 2, 2, 1, 1, true, remap.data(), mixing.data(), buffer);
    EXPECT_EQ(At(2, 2), 200);
    EXPECT_EQ(At(3, 2), 42);
}

TEST_F(Blit, DegenerateRequestsDrawNothing) {
    const std::vector<std::uint8_t> before = buffer.pixels;
    Draw(kImage, 4, 2, 0, 0, 0, 2);
    Draw(kImage, 4, 2, 0, 0, 4, -2);
    Draw(kImage, 4, 2, 8, 0, 4, 2);  // right of the buffer
    Draw(kImage, 4, 2, -5, 0, 4, 2); // left of it
    Draw(kImage, 4, 2, 0, 6, 4, 2);  // below it
    Draw(kImage, 4, 2, 7, 0, 4, 2);  // only the never-drawn last column
    Draw(kImage, 5, 2, 0, 0, 4, 2);  // fewer pixels than the size says
    Draw(kImage, 4, 2, 2000000000, 0, 2000000000, 2);
    FrameBuffer empty;
    BlitScaledImage({kImage, 4, 2}, 0, 0, 4, 2, false, identity.data(), keepSource.data(), empty);
    EXPECT_EQ(buffer.pixels, before);
}

} // namespace
