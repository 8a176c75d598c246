#include "engine/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "draw/panel.h"
#include "draw/scene_steps.h"
#include "engine/palette.h"
#include "engine/pcx_writer.h"
#include "engine/render_context.h"
#include "media/display.h"
#include "platform/message_box.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

class Pictures : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearPictures();
        SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
        // Game palette: greys, with one pure red at 60. Shade row 255 keeps
        // colours; blend level e > 0 gives 10 * e over anything.
        PalettePlanes& p = renderContext.palette;
        for (int i = 0; i < 256; ++i) p[i] = p[256 + i] = p[512 + i] = static_cast<std::uint8_t>(i);
        p[60] = 255;
        p[256 + 60] = p[512 + 60] = 0;
        for (int c = 0; c < 256; ++c) (*renderContext.shadeTable)[255 * 256 + c] = c;
        for (int i = 0; i < kBlendPlanes * 65536; ++i)
            (*renderContext.blendTable)[i] = i < 65536 ? i >> 8 : i / 65536 * 10;
        MakeBitmapDescription(renderContext.mainBuffer, 40, 30);
        MakeBitmapDescription(renderContext.stereoBuffer, 40, 30);
        windowMode = false;
    }
    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        renderContext.stereoscopic = 0;
        DisplayStartup();
    }

    // A picture of the file's red (colour 1) with a transparent first pixel.
    std::string Write(const std::string& name, int w, int h) {
        PalettePlanes palette{};
        palette[1] = 250;
        std::vector<std::uint8_t> pixels(w * h, 1);
        pixels[0] = 0;
        EXPECT_TRUE(WritePcx(dir.file(name), w, h, pixels, palette));
        return dir.file(name);
    }
    int Main(int x, int y) const { return renderContext.mainBuffer.pixels[y * 40 + x]; }

    TempDir dir;
    std::vector<std::string> messages;
};

TEST_F(Pictures, LoadsEvenWidthsRemappedAndRefusesOddMissingAndDamagedOnes) {
    ASSERT_TRUE(LoadPicture(2, Write("TITLE.PCX", 320, 4)));
    EXPECT_EQ(pictureSlots[2].width, 320);
    EXPECT_EQ(pictureSlots[2].pixels[0], 0);  // transparent stays 0
    EXPECT_EQ(pictureSlots[2].pixels[1], 60); // the file's red is the game's red

    const std::string odd = Write("WIDE.PCX", 321, 4);
    const Loaded<> wide = LoadPicture(2, odd);
    EXPECT_EQ(pictureSlots[2].width, 320); // the slot keeps its picture
    const Loaded<> none = LoadPicture(3, dir.file("NONE.PCX"));
    auto bytes = ReadBytes(Write("OK.PCX", 8, 8));
    bytes[8] = 63;  // claims 64 pixels wide
    bytes[10] = 99; // and 100 high: more than its run data could ever make
    const std::string bad = dir.write("BAD.PCX", bytes);
    const Loaded<> damaged = LoadPicture(4, bad);
    EXPECT_TRUE(pictureSlots[4].pixels.empty());
    const Loaded<> outside = LoadPicture(kPictureSlots, odd);
    const std::string huge = Write("HUGE.PCX", 4098, 2); // wider than any picture may be
    const Loaded<> tooWide = LoadPicture(5, huge);
    EXPECT_TRUE(pictureSlots[5].pixels.empty());
    for (const Loaded<>* failed : {&wide, &none, &damaged, &outside, &tooWide})
        EXPECT_FALSE(*failed);
    EXPECT_EQ(wide.error, "VX3: The image " + odd + " must have an odd width");
    EXPECT_EQ(none.error, "VX3: The file " + dir.file("NONE.PCX") + " is missing");
    EXPECT_EQ(damaged.error,
              "VX3: The image " + bad + " is invalid: pixel data too short for 64 x 100 pixels");
    EXPECT_EQ(outside.error, "VX3: There is no picture slot 4096");
    EXPECT_EQ(tooWide.error, "VX3: The image " + huge +
                                 " is invalid: 4098 x 2 pixels is more than the 4096 x 4096 a "
                                 "picture may have");
    EXPECT_TRUE(messages.empty()); // the loader shows nothing itself
}

TEST_F(Pictures, CutsGlyphsAndPadsWhatLiesOutsideTheSheet) {
    Picture& sheet = pictureSlots[0]; // column x holds x % 200 + 1
    sheet.width = 400;
    sheet.height = 7;
    for (int i = 0; i < 400 * 7; ++i) sheet.pixels.push_back(i % 400 % 200 + 1);
    CutPicture(0, 4 * 99, 0, 149, 7, 3);
    ASSERT_EQ(pictureSlots[149].pixels.size(), 21u);
    EXPECT_EQ(pictureSlots[149].pixels[0], 197);  // x = 396
    EXPECT_EQ(pictureSlots[149].pixels[20], 199); // x = 398, last row
    CutPicture(0, 398, 5, 150, 4, 4);
    EXPECT_EQ(pictureSlots[150].pixels,
              (std::vector<std::uint8_t>{199, 200, 0, 0, 199, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    CutPicture(7, 0, 0, 149, 7, 3); // empty source: nothing happens
    EXPECT_EQ(pictureSlots[149].width, 3);
}

TEST_F(Pictures, DarkPanelsCoverTheirRectangleOnlyWithTheDarkestEntry) {
    EXPECT_EQ(DarkestPaletteEntry(), 1); // 0 is kept for transparency
    renderContext.palette[200] = renderContext.palette[256 + 200] = 0;
    renderContext.palette[512 + 200] = 0;
    EXPECT_EQ(DarkestPaletteEntry(), 200);
    // Left 0.25 of 40 = 10, top 0.5 of 30 = 15, 20 x 6.
    DrawDarkPanel(0.5, 0.25, 0.2, 0.5, 0);
    EXPECT_EQ(Main(9, 15), 0);
    EXPECT_EQ(Main(10, 15), 200);
    EXPECT_EQ(Main(29, 20), 200);
    EXPECT_EQ(Main(30, 20), 0);
    EXPECT_EQ(Main(10, 21), 0);
    DrawDarkPanel(0.5, 0.25, 0.2, 0.5, 50); // 50 % is level 8
    EXPECT_EQ(Main(10, 15), 80);
    renderContext.stereoscopic = 1;
    DrawDarkPanel(0.0, 0.0, 1.0, 1.0, 0);
    EXPECT_EQ(renderContext.stereoBuffer.pixels[5 * 40 + 5], 200);
}

TEST_F(Pictures, DrawsInScreenFractionsThroughTheBlendLevel) {
    pictureSlots[6] = Picture{{0, 5, 6, 7}, 2, 2};
    // Left 0.25 of 40 = 10, top 0.5 of 30 = 15, 20 x 6; the 8.8 step
    // 2 * 256 / 20 = 25 starts source column 1 eleven columns in.
    DrawPicture(6, true, 0, 0.2, 0.5, 0.5, 0.25);
    EXPECT_EQ(Main(10, 15), 0); // keyed out
    EXPECT_EQ(Main(21, 15), 5);
    EXPECT_EQ(Main(29, 20), 7);
    EXPECT_EQ(Main(30, 20), 0);
    DrawPicture(6, false, 50, 0.2, 0.5, 0.5, 0.25); // 50 % is level 8
    EXPECT_EQ(Main(10, 15), 80);
    DrawPicture(6, false, 1000, 0.2, 0.5, 0.5, 0.25); // kept at the last level
    EXPECT_EQ(Main(10, 15), 160);
    renderContext.stereoscopic = 1;
    DrawPicture(6, true, 0, 1.0, 1.0, 0.0, 0.0);
    EXPECT_EQ(renderContext.stereoBuffer.pixels[30], 5);
}

TEST_F(Pictures, TheMenuCursorKeepsThePanelAroundItsArrow) {
    // The cursor is an arrow on colour 0: drawn keyed, the panel shows
    // around it instead of a black box.
    std::fill(renderContext.mainBuffer.pixels.begin(), renderContext.mainBuffer.pixels.end(), 9);
    pictureSlots[5] = Picture{{0, 3, 0, 3}, 2, 2};
    World shown;
    scene::DrawInGameMenu(shown);
    const auto& px = renderContext.mainBuffer.pixels;
    EXPECT_EQ(std::count(px.begin(), px.end(), 0), 0);
    EXPECT_GT(std::count(px.begin(), px.end(), 3), 0);
}

TEST(NearestPaletteEntry, PrefersTheHighestOfEqualEntries) {
    PalettePlanes palette{};
    for (int i : {0, 17, 200}) palette[i] = palette[256 + i] = palette[512 + i] = 255;
    EXPECT_EQ(NearestPaletteEntry(palette, 255, 255, 255, 0, 255), 200);
    EXPECT_EQ(NearestPaletteEntry(palette, 255, 255, 255, 1, 16), 16);
}

} // namespace
