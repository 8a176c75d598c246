#include "engine/stereo.h"

#include <gtest/gtest.h>

#include "engine/render_context.h"
#include "media/display.h"

namespace {

class Stereo : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 768; ++i) renderContext.palette[i] = static_cast<std::uint8_t>(i * 7);
        normal = renderContext.palette;
        for (std::size_t i = 0; i < renderContext.savedShadeTable->size(); ++i)
            (*renderContext.savedShadeTable)[i] = static_cast<std::uint8_t>(i * 3);
        *renderContext.shadeTable = *renderContext.savedShadeTable;
        MakeBitmapDescription(renderContext.mainBuffer, 8, 4);
        MakeBitmapDescription(renderContext.stereoBuffer, 8, 4);
    }
    void TearDown() override { StereoOff(); }

    void RedBlue() {
        StereoOn(kRedBlueEyeA.red, kRedBlueEyeA.green, kRedBlueEyeA.blue, kStereoEyeShift,
                 kRedBlueEyeB.blue, kRedBlueEyeB.green, kRedBlueEyeB.red);
    }

    PalettePlanes normal;
};

TEST_F(Stereo, RedBlueMixesTheEyesAndFullIntensityInBothShowsEntry238) {
    RedBlue();
    EXPECT_EQ(renderContext.stereoscopic, 1);
    EXPECT_EQ(renderContext.eyeShift, 30);
    ASSERT_EQ(ActiveStereoBuffer(), &renderContext.stereoBuffer);
    const PalettePlanes& p = renderContext.palette;
    // Entry 16 i + j: red from eye A at i, green and blue from eye B at j.
    // 238: i = j = 14: red (255 * 14 / 16 + 0) / 2 * 1.4 = 155.4, blue alike from eye B.
    EXPECT_EQ(p[238], 155);
    EXPECT_EQ(p[256 + 238], 155);
    EXPECT_EQ(p[512 + 238], 155);
    EXPECT_EQ(p[14], 0);
    EXPECT_EQ(p[512 + 14], 155);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(renderContext.mainBuffer.colourTable[4 * 238 + 2], 155);

    // Both buffers at intensity 14 present as entry 238.
    windowMode = false;
    renderContext.mainBuffer.pixels[0] = 14;
    renderContext.stereoBuffer.pixels[0] = 14;
    EXPECT_EQ(ComposePresentedFrame(renderContext.mainBuffer, ActiveStereoBuffer())[0], 238);
    DisplayStartup();
}

TEST_F(Stereo, ShadesBecomeIntensitiesOfTheColoursBrightness) {
    renderContext.palette[256 + 9] = 255;
    renderContext.palette[9] = renderContext.palette[512 + 9] = 255; // white
    renderContext.palette[5] = renderContext.palette[256 + 5] = renderContext.palette[512 + 5] = 0;
    RedBlue();
    const ShadeTable& shades = *renderContext.shadeTable;
    EXPECT_EQ(shades[255 * 256 + 0], 0);
    EXPECT_EQ(shades[255 * 256 + 9], 14); // bright colours stop at 14
    EXPECT_EQ(shades[100 * 256 + 9], 11); // round(100 * 255 * 1.8) / 256 / 16
    EXPECT_EQ(shades[255 * 256 + 5], 0);
}

TEST_F(Stereo, OffRestoresPaletteAndShadesAndIsHarmlessWhenAlreadyOff) {
    StereoOff(); // nothing saved yet: must not wipe the palette
    EXPECT_EQ(renderContext.palette, normal);

    RedBlue();
    // Switching straight to red/green keeps the normal palette saved.
    StereoOn(kRedGreenEyeA.red, kRedGreenEyeA.green, kRedGreenEyeA.blue, kStereoEyeShift,
             kRedGreenEyeB.blue, kRedGreenEyeB.green, kRedGreenEyeB.red);
    EXPECT_EQ(renderContext.palette[256 + 16 * 14], (230 * 14 / 16 / 2 * 14 + 5) / 10);
    StereoOff();
    EXPECT_EQ(renderContext.stereoscopic, 0);
    EXPECT_EQ(ActiveStereoBuffer(), nullptr);
    EXPECT_EQ(renderContext.palette, normal);
    EXPECT_EQ(*renderContext.shadeTable, *renderContext.savedShadeTable);
    EXPECT_EQ(renderContext.mainBuffer.colourTable[4 * 3 + 2], normal[3]);
}

} // namespace
