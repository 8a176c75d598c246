#include "media/display.h"

#include <gtest/gtest.h>

namespace {

// Restores the process-wide mode flags after each test.
class Display : public ::testing::Test {
  protected:
    void TearDown() override { DisplayStartup(); }

    static FrameBuffer Numbered(int w, int h) {
        FrameBuffer buffer;
        MakeBitmapDescription(buffer, w, h);
        for (int i = 0; i < w * h; ++i) buffer.pixels[i] = static_cast<std::uint8_t>(i + 1);
        return buffer;
    }
};

TEST_F(Display, BitmapHasSpareRowsAndColourTableInBlueGreenRedOrder) {
    FrameBuffer buffer;
    MakeBitmapDescription(buffer, 8, 6);
    EXPECT_EQ(buffer.pixels.size(), 8u * 11u);
    PalettePlanes palette{};
    palette[7] = 10;       // red
    palette[256 + 7] = 20; // green
    palette[512 + 7] = 30; // blue
    SetColourTable(buffer, palette);
    EXPECT_EQ(buffer.colourTable[28], 30);
    EXPECT_EQ(buffer.colourTable[29], 20);
    EXPECT_EQ(buffer.colourTable[30], 10);
    EXPECT_EQ(buffer.colourTable[31], 1);
    EXPECT_EQ(buffer.colourTable[3], 1);

    FreeBitmapDescription(buffer);
    EXPECT_FALSE(FrameBufferUsable(buffer));
    MakeBitmapDescription(buffer, 0, 6);
    EXPECT_TRUE(buffer.pixels.empty());
    EXPECT_TRUE(ComposePresentedFrame(buffer, nullptr).empty());
}

TEST_F(Display, WindowModeTurnsBottomUpRowsOver) {
    const FrameBuffer buffer = Numbered(4, 3);
    const auto screen = ComposePresentedFrame(buffer, nullptr);
    ASSERT_EQ(screen.size(), 12u);
    // Screen row 0 is buffer row 2.
    EXPECT_EQ(screen[0], 9);
    EXPECT_EQ(screen[4], 5);
    EXPECT_EQ(screen[8], 1);
    EXPECT_EQ(screen[11], 4);
}

TEST_F(Display, FullScreenCopiesWholeWordsAndBlacksOutTheLastRow) {
    windowMode = false;
    const FrameBuffer even = Numbered(4, 3);
    auto screen = ComposePresentedFrame(even, nullptr);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(screen[i], i + 1);
    for (int i = 8; i < 12; ++i) EXPECT_EQ(screen[i], 0) << i;

    // 5 x 3: W * (H - 1) = 10 bytes round down to 8; the rest stays black.
    const FrameBuffer odd = Numbered(5, 3);
    screen = ComposePresentedFrame(odd, nullptr);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(screen[i], i + 1);
    for (int i = 8; i < 15; ++i) EXPECT_EQ(screen[i], 0) << i;
}

TEST_F(Display, StereoMergeAddsSixteenTimesTheSecondImageWithoutTouchingTheBuffer) {
    windowMode = false;
    FrameBuffer main, second;
    MakeBitmapDescription(main, 4, 2);
    MakeBitmapDescription(second, 4, 2);
    main.pixels[0] = 14;
    second.pixels[0] = 14;
    main.pixels[1] = 15;
    second.pixels[1] = 16; // 15 + 256 wraps to 15
    main.pixels[2] = 3;
    const auto screen = ComposePresentedFrame(main, &second);
    EXPECT_EQ(screen[0], 238);
    EXPECT_EQ(screen[1], 15);
    EXPECT_EQ(screen[2], 3);
    // Presenting the same frame again gives the same picture.
    EXPECT_EQ(main.pixels[0], 14);
    EXPECT_EQ(ComposePresentedFrame(main, &second), screen);

    // A second image of another size is not merged.
    FrameBuffer other;
    MakeBitmapDescription(other, 8, 2);
    other.pixels.assign(other.pixels.size(), 1);
    EXPECT_EQ(ComposePresentedFrame(main, &other)[0], 14);
}

TEST_F(Display, OnlyBuffersAtLeast320WideMayGoFullScreen) {
    FrameBuffer narrow, wide;
    MakeBitmapDescription(narrow, 160, 120);
    MakeBitmapDescription(wide, 320, 240);
    EXPECT_FALSE(FullScreenAllowed(narrow));
    EXPECT_TRUE(FullScreenAllowed(wide));
}

} // namespace
