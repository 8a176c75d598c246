#include "engine/pcx.h"

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "engine/pcx_writer.h"
#include "support/test_support.h"

namespace {

PalettePlanes Greys() {
    PalettePlanes palette{};
    for (int i = 0; i < 256; ++i) palette[i] = palette[256 + i] = palette[512 + i] = i;
    return palette;
}

std::vector<std::uint8_t> Header(int width, int height) {
    std::vector<std::uint8_t> bytes(128, 0);
    bytes[0] = 10;
    bytes[8] = (width - 1) & 0xFF;
    bytes[9] = (width - 1) >> 8;
    bytes[10] = (height - 1) & 0xFF;
    bytes[11] = (height - 1) >> 8;
    return bytes;
}

void AppendPalette(std::vector<std::uint8_t>& bytes, const PalettePlanes& palette) {
    bytes.push_back(12);
    for (int i = 0; i < 256; ++i)
        for (int plane = 0; plane < 3; ++plane) bytes.push_back(palette[plane * 256 + i]);
}

TEST(Pcx, WriterOutputDecodesToTheSamePixelsAndPalette) {
    // Long runs, lone values of 192 and more, and a row that ends in a run.
    const int w = 130, h = 3;
    std::vector<std::uint8_t> pixels(w * h);
    for (int i = 0; i < w * h; ++i) pixels[i] = i < 100 ? 7 : static_cast<std::uint8_t>(i * 37);
    for (int i = 2 * w + 60; i < 3 * w; ++i) pixels[i] = 250;
    PalettePlanes palette = Greys();
    palette[3] = 200;
    const auto bytes = EncodePcx(w, h, pixels, palette);
    PcxImage image;
    std::string error;
    ASSERT_TRUE(DecodePcx(bytes, image, &error)) << error;
    EXPECT_EQ(image.width, w);
    EXPECT_EQ(image.height, h);
    EXPECT_EQ(image.pixels, pixels);
    EXPECT_EQ(image.palette, palette);
    EXPECT_TRUE(EncodePcx(0, 1, pixels, palette).empty());
    EXPECT_TRUE(EncodePcx(w, h + 1, pixels, palette).empty());
}

TEST(Pcx, RunPassingTheEndIsCutAtThePixelCount) {
    // 128 x 128: 16383 single pixels then a run of 3 of colour 9.
    auto bytes = Header(128, 128);
    for (int i = 0; i < 16383; ++i) bytes.push_back(5);
    bytes.push_back(192 + 3);
    bytes.push_back(9);
    AppendPalette(bytes, Greys());
    PcxImage image;
    std::string error;
    ASSERT_TRUE(DecodePcx(bytes, image, &error)) << error;
    ASSERT_EQ(image.pixels.size(), 16384u);
    EXPECT_EQ(image.pixels[16382], 5);
    EXPECT_EQ(image.pixels[16383], 9);
    EXPECT_EQ(image.palette[512 + 77], 77);
}

TEST(Pcx, DamagedFilesAreRefusedWithAReason) {
    PcxImage image;
    image.width = 42;
    std::string error;

    EXPECT_FALSE(DecodePcx(std::vector<std::uint8_t>(500, 0), image, &error));
    EXPECT_EQ(error, "too short for a PCX header and palette (500 bytes)");

    // The pixel data stops early: 4 x 2 needs 8 pixels, there are 5.
    auto bytes = Header(4, 2);
    for (int i = 0; i < 5; ++i) bytes.push_back(1);
    AppendPalette(bytes, Greys());
    EXPECT_FALSE(DecodePcx(bytes, image, &error));
    // The 0x0C marker counts as one more pixel: 6 of 8.
    EXPECT_EQ(error, "pixel data ends after 6 of 8 pixels");

    // A run byte without its colour byte.
    bytes = Header(4, 1);
    bytes.push_back(1);
    bytes.push_back(195);
    bytes.insert(bytes.end(), 768, 0);
    EXPECT_FALSE(DecodePcx(bytes, image, &error));
    EXPECT_EQ(error, "pixel data ends after 1 of 4 pixels");

    // A header claiming 65536 x 65536 is refused before any allocation.
    bytes = Header(65536, 65536);
    bytes.insert(bytes.end(), {255, 1});
    AppendPalette(bytes, Greys());
    EXPECT_FALSE(DecodePcx(bytes, image, &error));
    EXPECT_EQ(error, "pixel data too short for 65536 x 65536 pixels");
    EXPECT_EQ(image.width, 42); // untouched on failure

    // Every cut of a good file fails cleanly or decodes whole images.
    std::vector<std::uint8_t> pixels(16 * 8);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 29);
    const auto good = EncodePcx(16, 8, pixels, Greys());
    for (std::size_t n = 0; n < good.size(); ++n) {
        PcxImage cut;
        if (DecodePcx(std::span(good.data(), n), cut, nullptr)) {
            EXPECT_EQ(cut.pixels.size(), 128u) << n;
        }
    }
}

TEST(Pcx, ReadersCheckTheSizeTheCallerExpects) {
    TempDir dir;
    std::vector<std::uint8_t> pixels(4 * 2, 3);
    pixels[5] = 0;
    PalettePlanes filePalette{};
    filePalette[3] = 250; // a red in the file
    const std::string file = dir.file("a.pcx");
    ASSERT_TRUE(WritePcx(file, 4, 2, pixels, filePalette));

    std::vector<std::uint8_t> out(8);
    PalettePlanes palette{};
    std::string error;
    ASSERT_TRUE(ReadPcx(file, out, palette, &error)) << error;
    EXPECT_EQ(out, pixels);
    EXPECT_EQ(palette[3], 250);

    std::vector<std::uint8_t> texture(128 * 128);
    EXPECT_FALSE(ReadPcx(file, texture, palette, &error));
    EXPECT_EQ(error, "is 4 x 2 pixels, not the 16384 expected");
    EXPECT_FALSE(ReadPcxRemapped(file, texture, 128, 128, palette, &error));
    EXPECT_EQ(error, "is 4 x 2 pixels, not the 128 x 128 expected");
    EXPECT_FALSE(ReadPcx(dir.file("none.pcx"), out, palette, &error));
    EXPECT_EQ(error, "cannot be read");

    // Remapped onto a palette whose only red is entry 40; colour 0 stays 0.
    PalettePlanes game{};
    game[40] = 255;
    ASSERT_TRUE(ReadPcxRemapped(file, out, 4, 2, game, &error)) << error;
    EXPECT_EQ(out[0], 40);
    EXPECT_EQ(out[5], 0);
}

TEST(Pcx, RemapKeepsColourZeroAndNeverChoosesEntry255) {
    PalettePlanes game{};
    for (int i = 0; i < 256; ++i) game[i] = game[256 + i] = game[512 + i] = 100;
    game[0] = game[256] = game[512] = 255; // white at 0 and 255 only
    game[255] = game[511] = game[767] = 255;
    game[17] = game[256 + 17] = game[512 + 17] = 250;
    PalettePlanes file{};
    file[9] = file[256 + 9] = file[512 + 9] = 255;
    const ColourMap map = PaletteRemap(file, game);
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[9], 17);
    // Black in a grey palette: every entry 1..254 is as near; the highest wins.
    EXPECT_EQ(map[5], 254);
}

// Decodes a PCX made by ImageMagick and checks every pixel's colour against
// ImageMagick's own listing of the file.
class ImageMagickPcx : public ::testing::TestWithParam<int> {};

TEST_P(ImageMagickPcx, DecodesToTheColoursImageMagickReports) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no convert";
    const int colours = GetParam();
    const int w = 16, h = colours > 16 ? 16 : 6;
    TempDir dir;
    std::ostringstream ppm;
    ppm << "P6\n" << w << " " << h << "\n255\n";
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int c = (y * w + x) % colours;
            const int run = x < 5 && y % 2 == 0 ? 0 : c; // some runs
            ppm << static_cast<char>(run * 13 % 256) << static_cast<char>(run * 71 % 256)
                << static_cast<char>(255 - run);
        }
    dir.write("in.ppm", ppm.str());
    const std::string in = dir.file("in.ppm"), pcx = dir.file("out.pcx"), txt = dir.file("out.txt");
    ASSERT_EQ(std::system(("convert " + in + " -colors " + std::to_string(colours) +
                           " -type Palette PCX:" + pcx + " && convert " + pcx + " txt:" + txt)
                              .c_str()),
              0);

    PcxImage image;
    std::string error;
    ASSERT_TRUE(DecodePcxFile(pcx, image, &error)) << error;
    ASSERT_EQ(image.width, w);
    ASSERT_EQ(image.height, h);

    std::ifstream listing(txt);
    const std::regex line(R"((\d+),(\d+): \((\d+),(\d+),(\d+)\))");
    std::string text;
    int checked = 0;
    while (std::getline(listing, text)) {
        std::smatch m;
        if (!std::regex_search(text, m, line)) continue;
        const int x = std::stoi(m[1]), y = std::stoi(m[2]);
        const int p = image.pixels[y * w + x];
        EXPECT_EQ(image.palette[p], std::stoi(m[3])) << x << "," << y;
        EXPECT_EQ(image.palette[256 + p], std::stoi(m[4])) << x << "," << y;
        EXPECT_EQ(image.palette[512 + p], std::stoi(m[5])) << x << "," << y;
        ++checked;
    }
    EXPECT_EQ(checked, w * h);
}

// 256 colours bring palette indices of 192 and more, written as runs of one.
INSTANTIATE_TEST_SUITE_P(Colours, ImageMagickPcx, ::testing::Values(16, 256));

} // namespace
