#include "media/display.h"

#include <gtest/gtest.h>

namespace {

// Row order and the stereo merge are also covered through the presenter.
TEST(Display, FullScreenCopyRoundsToWordsAndMergingLeavesTheBufferAlone) {
    FrameBuffer main, second, other;
    MakeBitmapDescription(main, 5, 3);
    MakeBitmapDescription(second, 5, 3);
    MakeBitmapDescription(other, 8, 3);
    for (int i = 0; i < 15; ++i) main.pixels[i] = static_cast<std::uint8_t>(i + 1);
    second.pixels[0] = 16; // 1 + 256 wraps to 1
    second.pixels[1] = 1;
    other.pixels.assign(other.pixels.size(), 1); // another size: not merged

    windowMode = false;
    // W * (H - 1) = 10 bytes round down to 8; the rest stays black.
    const auto screen = ComposePresentedFrame(main, &second);
    EXPECT_EQ(ComposePresentedFrame(main, &second), screen);
    EXPECT_EQ(ComposePresentedFrame(main, &other)[1], 2);
    DisplayStartup();
    EXPECT_EQ(screen[0], 1);
    EXPECT_EQ(screen[1], 18);
    EXPECT_EQ(screen[7], 8);
    for (int i = 8; i < 15; ++i) EXPECT_EQ(screen[i], 0) << i;
    EXPECT_EQ(main.pixels[1], 2);
    EXPECT_TRUE(ComposePresentedFrame(FrameBuffer{}, nullptr).empty());
}

} // namespace
