#include "engine/pictures.h"

#include <gtest/gtest.h>

#include "engine/palette.h"
#include "engine/pcx_writer.h"
#include "engine/render_context.h"
#include "media/display.h"
#include "platform/message_box.h"
#include "support/test_support.h"

namespace {

class Pictures : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearPictures();
        SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
        // Game palette: entry i is the grey i, except entry 60 which is pure red.
        for (int i = 0; i < 256; ++i)
            renderContext.palette[i] = renderContext.palette[256 + i] =
                renderContext.palette[512 + i] = static_cast<std::uint8_t>(i);
        renderContext.palette[256 + 60] = renderContext.palette[512 + 60] = 0;
        renderContext.palette[60] = 255;
        // Shade row 255 keeps colours; blend level e gives e * 10 over anything
        // (level 0: the source colour).
        auto& shades = *renderContext.shadeTable;
        for (int c = 0; c < 256; ++c) shades[255 * 256 + c] = static_cast<std::uint8_t>(c);
        auto& blend = *renderContext.blendTable;
        for (int e = 0; e < kBlendPlanes; ++e)
            for (int s = 0; s < 256; ++s)
                for (int d = 0; d < 256; ++d)
                    blend[(e * 256 + s) * 256 + d] = static_cast<std::uint8_t>(e ? e * 10 : s);
        MakeBitmapDescription(renderContext.mainBuffer, 40, 30);
        MakeBitmapDescription(renderContext.stereoBuffer, 40, 30);
        windowMode = false;
    }
    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        renderContext.stereoscopic = 0;
        DisplayStartup();
        ClearPictures();
    }

    std::string WriteImage(const TempDir& dir, const std::string& name, int w, int h,
                           std::uint8_t colour = 1) {
        PalettePlanes palette{};
        palette[1] = 250; // a red
        palette[256 + 2] = palette[512 + 2] = 255;
        palette[2] = 255; // white
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h, colour);
        pixels[0] = 0;
        const std::string file = dir.file(name);
        EXPECT_TRUE(WritePcx(file, w, h, pixels, palette));
        return file;
    }

    int Main(int x, int y) const { return renderContext.mainBuffer.pixels[y * 40 + x]; }

    std::vector<std::string> messages;
};

TEST_F(Pictures, LoadsEvenWidthsRemappedAndRefusesOddOnes) {
    TempDir dir;
    ASSERT_TRUE(LoadPicture(2, WriteImage(dir, "TITLE.PCX", 320, 4)));
    const Picture& title = pictureSlots[2];
    EXPECT_EQ(title.width, 320);
    EXPECT_EQ(title.height, 4);
    EXPECT_EQ(title.pixels[0], 0);  // transparent stays 0
    EXPECT_EQ(title.pixels[1], 60); // the file's red is the game's red
    EXPECT_TRUE(messages.empty());

    const std::string odd = WriteImage(dir, "WIDE.PCX", 321, 4);
    EXPECT_FALSE(LoadPicture(2, odd));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "VX3: The image " + odd + " must have an odd width");
    EXPECT_EQ(pictureSlots[2].width, 320); // the slot keeps its picture

    EXPECT_FALSE(LoadPicture(3, dir.file("NONE.PCX")));
    EXPECT_EQ(messages.back(), "VX3: The file " + dir.file("NONE.PCX") + " is missing");
}

TEST_F(Pictures, DamagedPictureFailsWithItsReason) {
    TempDir dir;
    auto bytes = ReadBytes(WriteImage(dir, "OK.PCX", 8, 8, 7));
    bytes[8] = 63; // claims 64 pixels wide
    const std::string file = dir.write("BAD.PCX", bytes);
    EXPECT_FALSE(LoadPicture(4, file));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "VX3: The image " + file + " is invalid: pixel data ends after 65 of 512 pixels");
    EXPECT_TRUE(pictureSlots[4].pixels.empty());

    const std::string tiny = dir.write("TINY.PCX", std::vector<std::uint8_t>(5, 0));
    EXPECT_FALSE(LoadPicture(4, tiny));
    EXPECT_EQ(messages.back(), "VX3: The image " + tiny +
                                   " is invalid: too short for a PCX header and palette (5 bytes)");
    EXPECT_FALSE(LoadPicture(kPictureSlots, file));
}

TEST_F(Pictures, CutsGlyphRectangles) {
    // A small-font sheet: column x holds the colour x % 200 + 1.
    Picture& sheet = pictureSlots[0];
    sheet.width = 400;
    sheet.height = 7;
    sheet.pixels.resize(400 * 7);
    for (int i = 0; i < 400 * 7; ++i)
        sheet.pixels[i] = static_cast<std::uint8_t>(i % 400 % 200 + 1);

    CutPicture(0, 4 * 99, 0, 149, 7, 3);
    const Picture& glyph = pictureSlots[149];
    ASSERT_EQ(glyph.width, 3);
    ASSERT_EQ(glyph.height, 7);
    EXPECT_EQ(glyph.pixels[0], 396 % 200 + 1);
    EXPECT_EQ(glyph.pixels[2], 398 % 200 + 1);
    EXPECT_EQ(glyph.pixels[3 * 6 + 2], 398 % 200 + 1);

    // Reaching past the sheet gives colour 0 there, not a stray read.
    CutPicture(0, 398, 5, 150, 4, 4);
    const Picture& edge = pictureSlots[150];
    EXPECT_EQ(edge.pixels[0], 398 % 200 + 1);
    EXPECT_EQ(edge.pixels[2], 0);
    EXPECT_EQ(edge.pixels[4 * 2], 0);

    // An empty source leaves the destination as it was.
    CutPicture(7, 0, 0, 149, 7, 3);
    EXPECT_EQ(pictureSlots[149].width, 3);
}

TEST_F(Pictures, DrawsInScreenFractionsThroughTheBlendLevel) {
    Picture& picture = pictureSlots[6];
    picture.width = 2;
    picture.height = 2;
    picture.pixels = {0, 5, 6, 7};

    // Left 0.25 of 40 = 10, top 0.5 of 30 = 15, 20 x 6.
    DrawPicture(6, true, 0, 0.2, 0.5, 0.5, 0.25);
    EXPECT_EQ(Main(10, 15), 0); // keyed out
    // 8.8 steps of 2 * 256 / 20 = 25: source column 1 starts 11 columns in.
    EXPECT_EQ(Main(20, 15), 0);
    EXPECT_EQ(Main(21, 15), 5);
    EXPECT_EQ(Main(29, 20), 7);
    EXPECT_EQ(Main(30, 20), 0);
    EXPECT_EQ(Main(10, 21), 0);

    // 50 % is blend level 8; without the key colour 0 is drawn too.
    DrawPicture(6, false, 50, 0.2, 0.5, 0.5, 0.25);
    EXPECT_EQ(Main(10, 15), 80);
    EXPECT_EQ(Main(29, 20), 80);
    // Percentages beyond 100 stay at the last level.
    DrawPicture(6, false, 1000, 0.2, 0.5, 0.5, 0.25);
    EXPECT_EQ(Main(10, 15), 160);

    // Stereoscopic: the stereo buffer gets the same.
    renderContext.stereoscopic = 1;
    DrawPicture(6, true, 0, 1.0, 1.0, 0.0, 0.0);
    EXPECT_EQ(renderContext.stereoBuffer.pixels[30], 5);
    DrawPicture(100, true, 0, 1.0, 1.0, 0.0, 0.0); // empty slot: nothing
}

TEST(NearestPaletteEntry, PrefersTheHighestOfEqualEntriesAndKeepsToTheRange) {
    PalettePlanes palette{};
    for (int i : {0, 17, 200}) palette[i] = palette[256 + i] = palette[512 + i] = 255;
    EXPECT_EQ(NearestPaletteEntry(palette, 255, 255, 255, 0, 255), 200);
    EXPECT_EQ(NearestPaletteEntry(palette, 255, 255, 255, 0, 199), 17);
    EXPECT_EQ(NearestPaletteEntry(palette, 255, 255, 255, 0, 16), 0);
    EXPECT_EQ(NearestPaletteEntry(palette, 255, 255, 255, 1, 16), 16);
    EXPECT_EQ(NearestPaletteEntry(palette, 1, 2, 3, 9, 4), 9);
}

} // namespace
