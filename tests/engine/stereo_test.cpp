#include "engine/stereo.h"

#include <gtest/gtest.h>

#include "engine/render_context.h"
#include "media/display.h"

namespace {

TEST(Stereo, RedBlueShowsBothEyesAndOffRestoresTheNormalColours) {
    PalettePlanes& p = renderContext.palette;
    for (int i = 0; i < 768; ++i) p[i] = static_cast<std::uint8_t>(i * 7);
    p[9] = p[256 + 9] = p[512 + 9] = 255;
    const PalettePlanes normal = p;
    renderContext.savedShadeTable->fill(3);
    *renderContext.shadeTable = *renderContext.savedShadeTable;
    MakeBitmapDescription(renderContext.mainBuffer, 8, 4);
    MakeBitmapDescription(renderContext.stereoBuffer, 8, 4);

    StereoOff(); // nothing saved yet: must not wipe the palette
    EXPECT_EQ(p, normal);
    StereoOn(kRedGreenEyeA.red, kRedGreenEyeA.green, kRedGreenEyeA.blue, kStereoEyeShift,
             kRedGreenEyeB.blue, kRedGreenEyeB.green, kRedGreenEyeB.red);
    // Switching straight to red/blue keeps the normal palette saved.
    StereoOn(kRedBlueEyeA.red, kRedBlueEyeA.green, kRedBlueEyeA.blue, kStereoEyeShift,
             kRedBlueEyeB.blue, kRedBlueEyeB.green, kRedBlueEyeB.red);
    const ShadeTable& shades = *renderContext.shadeTable;
    EXPECT_EQ(shades[255 * 256 + 9], 14); // white stops at intensity 14
    EXPECT_EQ(shades[100 * 256 + 9], 11); // round(100 * 255 * 1.8) / 256 / 16
    EXPECT_EQ(shades[255 * 256], 0);
    // Intensity 14 in both buffers merges to 238: red from eye A, green and
    // blue from eye B, each (255 * 14 / 16) / 2 * 1.4 = 155.
    windowMode = false;
    renderContext.mainBuffer.pixels[0] = 14;
    renderContext.stereoBuffer.pixels[0] = 14;
    EXPECT_EQ(ComposePresentedFrame(renderContext.mainBuffer, ActiveStereoBuffer())[0], 238);
    DisplayStartup();
    EXPECT_EQ((std::array{p[238], p[256 + 238], p[512 + 238], p[14], p[512 + 14]}),
              (std::array<std::uint8_t, 5>{155, 155, 155, 0, 155}));
    EXPECT_EQ(renderContext.mainBuffer.colourTable[4 * 238 + 2], 155);

    StereoOff();
    EXPECT_EQ(ActiveStereoBuffer(), nullptr);
    EXPECT_EQ(p, normal);
    EXPECT_EQ(shades[255 * 256 + 9], 3);
    EXPECT_EQ(renderContext.mainBuffer.colourTable[4 * 9 + 2], 255);
}

} // namespace
