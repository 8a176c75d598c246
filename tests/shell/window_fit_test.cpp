// The first start's window: whole multiples of 320 x 240 device pixels
// within 90 % of the screen, centred; and which settings count as a stored size.
#include <gtest/gtest.h>

#include <limits>

#include "platform/profile.h"
#include "shell/settings.h"
#include "shell/window_fit.h"

namespace {

void expectPlace(const WindowPlace& got, int left, int top, int width, int height) {
    EXPECT_EQ(got.left, left);
    EXPECT_EQ(got.top, top);
    EXPECT_EQ(got.width, width);
    EXPECT_EQ(got.height, height);
}

TEST(FirstWindowPlace, TakesTheLargestWholeMultipleWithinNinetyPercent) {
    expectPlace(FirstWindowPlace({0, 0, 1280, 1024}, 1.0), 160, 152, 960, 720);
    // 1728 x 972 of 1920 x 1080: the height allows four times, the width five.
    expectPlace(FirstWindowPlace({0, 0, 1920, 1080}, 1.0), 320, 60, 1280, 960);
    // 90 % of 1600 x 1200 is 1440 x 1080: four and a half times both ways.
    expectPlace(FirstWindowPlace({0, 0, 1600, 1200}, 1.0), 160, 120, 1280, 960);
    // An area beside a task bar or on a second screen: centred in it.
    expectPlace(FirstWindowPlace({1920, 40, 1280, 984}, 1.0), 2080, 172, 960, 720);
}

TEST(FirstWindowPlace, CountsDevicePixelsOnDenseScreens) {
    // 2560 x 2048 device pixels hold seven times the picture.
    expectPlace(FirstWindowPlace({0, 0, 1280, 1024}, 2.0), 80, 92, 1120, 840);
    // 1.5: 1920 x 1536 device pixels, five times (1600 x 1200), 1066.7 x 800 logical.
    const WindowPlace half = FirstWindowPlace({0, 0, 1280, 1024}, 1.5);
    EXPECT_EQ(half.width, 1067);
    EXPECT_EQ(half.height, 800);
}

TEST(FirstWindowPlace, NeverLessThanThePictureOnceNorBrokenRatios) {
    expectPlace(FirstWindowPlace({0, 0, 320, 240}, 1.0), 0, 0, 320, 240);
    expectPlace(FirstWindowPlace({0, 0, 0, 0}, 1.0), -160, -120, 320, 240);
    for (const double ratio : {0.0, -1.0, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()})
        expectPlace(FirstWindowPlace({0, 0, 1280, 1024}, ratio), 160, 152, 960, 720);
}

TEST(GeneralSettings, ASizeCountsAsStoredOnlyWithWidthAndHeightAsNumbers) {
    EXPECT_FALSE(ReadGeneralSettings(ParseProfile("")).sizeStored);
    EXPECT_FALSE(ReadGeneralSettings(ParseProfile("[General]\nLeft=5\nTop=5\n")).sizeStored);
    EXPECT_FALSE(ReadGeneralSettings(ParseProfile("[General]\nWidth=800\n")).sizeStored);
    EXPECT_FALSE(
        ReadGeneralSettings(ParseProfile("[General]\nWidth=wide\nHeight=600\n")).sizeStored);
    const GeneralSettings stored =
        ReadGeneralSettings(ParseProfile("[General]\nWidth=800\nHeight=600\n"));
    EXPECT_TRUE(stored.sizeStored);
    EXPECT_EQ(stored.place.width, 800);
    EXPECT_EQ(stored.place.height, 600);
}

} // namespace
