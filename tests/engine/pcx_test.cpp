#include "engine/pcx.h"

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "engine/pcx_writer.h"
#include "support/test_support.h"

namespace {

// A header for width x height, then the given data bytes and a palette.
std::vector<std::uint8_t> File(int width, int height, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes(128 + data.size() + 768, 3);
    std::fill_n(bytes.begin(), 128, 0);
    bytes[8] = (width - 1) & 0xFF;
    bytes[9] = (width - 1) >> 8;
    bytes[10] = (height - 1) & 0xFF;
    bytes[11] = (height - 1) >> 8;
    std::copy(data.begin(), data.end(), bytes.begin() + 128);
    return bytes;
}

TEST(Pcx, WriterRoundTripAndRunCutAtThePixelCount) {
    std::vector<std::uint8_t> pixels(130 * 3, 7); // runs longer than 63
    for (int i = 100; i < 260; ++i) pixels[i] = static_cast<std::uint8_t>(i * 37); // 192+
    PalettePlanes palette{};
    palette[3] = 200;
    PcxImage image;
    std::string error;
    ASSERT_TRUE(DecodePcx(EncodePcx(130, 3, pixels, palette), image, &error)) << error;
    EXPECT_EQ(image.pixels, pixels);
    EXPECT_EQ(image.palette, palette);

    // 128 x 128 ending in a run of 3 that would pass the last pixel.
    std::vector<std::uint8_t> data(16383, 5);
    data.push_back(192 + 3);
    data.push_back(9);
    ASSERT_TRUE(DecodePcx(File(128, 128, data), image, &error)) << error;
    ASSERT_EQ(image.pixels.size(), 16384u);
    EXPECT_EQ(image.pixels[16383], 9);
}

TEST(Pcx, DamagedFilesAreRefusedWithAReason) {
    PcxImage image;
    std::string error;
    EXPECT_FALSE(DecodePcx(std::vector<std::uint8_t>(500, 0), image, &error));
    EXPECT_EQ(error, "too short for a PCX header and palette (500 bytes)");
    // Refused before anything is allocated for it: one byte is one pixel at
    // most, two bytes 63.
    EXPECT_FALSE(DecodePcx(File(4, 2, {5}), image, &error));
    EXPECT_EQ(error, "pixel data too short for 4 x 2 pixels");
    EXPECT_FALSE(DecodePcx(File(65536, 65536, {255, 1}), image, &error));
    EXPECT_EQ(error, "pixel data too short for 65536 x 65536 pixels");
    EXPECT_EQ(image.width, 0); // untouched on failure

    TempDir dir;
    std::vector<std::uint8_t> pixels(8, 1);
    ASSERT_TRUE(WritePcx(dir.file("a.pcx"), 4, 2, pixels, PalettePlanes{}));
    std::vector<std::uint8_t> texture(128 * 128);
    PalettePlanes palette;
    EXPECT_FALSE(ReadPcx(dir.file("a.pcx"), texture, palette, &error));
    EXPECT_EQ(error, "is 4 x 2 pixels, not the 16384 expected");
    EXPECT_FALSE(ReadPcxRemapped(dir.file("a.pcx"), texture, 128, 128, palette, &error));
    EXPECT_EQ(error, "is 4 x 2 pixels, not the 128 x 128 expected");
}

TEST(Pcx, RunDataEndingEarlyGivesThePixelsItReachesAndColourZeroAfter) {
    std::vector<std::uint8_t> halfRun(126, 0);
    std::fill_n(halfRun.begin(), 63, 7);
    halfRun[63] = 1;
    halfRun[64] = 2;
    struct Case {
        int width, height;
        std::vector<std::uint8_t> data, pixels;
    };
    const Case cases[] = {
        {4, 2, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 0, 0, 0}},
        {4, 1, {1, 195}, {1, 0, 0, 0}},    // a run without its colour adds nothing
        {126, 1, {255, 7, 1, 2}, halfRun}, // as long as four bytes could make it
    };
    TempDir dir;
    for (const Case& c : cases) {
        // The palette's bytes (3 each here) are never taken for run data.
        const std::vector<std::uint8_t> bytes = File(c.width, c.height, c.data);
        const auto fromBytes = DecodePcxBytes(bytes);
        const auto fromFile = DecodePcxFromFile(dir.write("short.pcx", bytes));
        for (const Loaded<PcxImage>* image : {&fromBytes, &fromFile}) {
            ASSERT_TRUE(*image) << image->error;
            EXPECT_EQ((*image)->width, c.width);
            EXPECT_EQ((*image)->height, c.height);
            EXPECT_EQ((*image)->palette[0], 3);
            EXPECT_EQ((*image)->pixels, c.pixels);
        }
    }
}

TEST(Pcx, FileReadsHeaderPixelsAndPaletteButNothingBetween) {
    std::vector<std::uint8_t> pixels(128 * 128);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i / 97);
    PalettePlanes palette{};
    palette[300] = 77;
    auto bytes = EncodePcx(128, 128, pixels, palette);
    const std::vector<std::uint8_t> colours(bytes.end() - 768, bytes.end());
    bytes.resize(bytes.size() - 768);
    // The palette ends a 3 GiB file: the gap after the pixel data is never read.
    TempDir dir;
    const std::string file = dir.write("gap.pcx", bytes);
    constexpr std::uint64_t kSize = 3ull << 30;
    ExtendSparse(file, kSize - 768);
    std::ofstream(file, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(colours.data()), 768);
    const std::uint64_t before = BytesReadSoFar();
    PcxImage image;
    std::string error;
    ASSERT_TRUE(DecodePcxFile(file, image, &error)) << error;
    EXPECT_EQ(image.pixels, pixels);
    EXPECT_EQ(image.palette, palette);
    EXPECT_LT(BytesReadSoFar() - before, 2 * pixels.size() + 4096);

    // Runs of no pixels (192) can make a picture need more than two bytes a
    // pixel: the file is then read on, and decodes as its bytes do.
    std::vector<std::uint8_t> data;
    for (int i = 0; i < 300; ++i) data.insert(data.end(), {192, 9});
    data.insert(data.end(), {5, 6, 7, 8});
    const auto fromFile = DecodePcxFromFile(dir.write("empty-runs.pcx", File(2, 2, data)));
    ASSERT_TRUE(fromFile) << fromFile.error;
    EXPECT_EQ(fromFile->pixels, (std::vector<std::uint8_t>{5, 6, 7, 8}));
    EXPECT_EQ(fromFile->pixels, DecodePcxBytes(File(2, 2, data))->pixels);
}

TEST(Pcx, SizesNoPictureNeedsAreRefusedUnread) {
    // Bytes enough for 65535 x 65535 pixels in runs of 63, never decoded.
    TempDir dir;
    const std::string file = dir.write("huge.pcx", File(65535, 65535, {}));
    ExtendSparse(file, 140u << 20);
    const std::uint64_t before = BytesReadSoFar();
    const auto image = DecodePcxFromFile(file);
    EXPECT_LT(BytesReadSoFar() - before, 4096u);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error, "65535 x 65535 pixels is more than the 4096 x 4096 a picture may have");

    const std::vector<std::uint8_t> row(4097, 7);
    EXPECT_TRUE(DecodePcxBytes(EncodePcx(4096, 1, row, PalettePlanes{})));
    EXPECT_FALSE(DecodePcxBytes(EncodePcx(4097, 1, row, PalettePlanes{})));
    EXPECT_FALSE(DecodePcxBytes(EncodePcx(1, 4097, row, PalettePlanes{})));
}

// A PCX made by ImageMagick decodes to the colours ImageMagick lists for it;
// 256 colours bring indices of 192 and more, written as runs of one.
class ImageMagickPcx : public ::testing::TestWithParam<int> {};

TEST_P(ImageMagickPcx, DecodesToTheColoursImageMagickReports) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no convert";
    const int colours = GetParam(), w = 16, h = colours > 16 ? 16 : 4;
    TempDir dir;
    std::ostringstream ppm;
    ppm << "P6\n" << w << " " << h << "\n255\n";
    for (int i = 0; i < w * h; ++i) {
        const int c = i % w < 5 ? 0 : i; // some runs
        ppm << static_cast<char>(c * 13) << static_cast<char>(c * 71) << static_cast<char>(~c);
    }
    dir.write("in.ppm", ppm.str());
    const std::string pcx = dir.file("out.pcx"), txt = dir.file("out.txt");
    ASSERT_EQ(std::system(("convert " + dir.file("in.ppm") + " -colors " + std::to_string(colours) +
                           " -type Palette PCX:" + pcx + " && convert " + pcx + " txt:" + txt)
                              .c_str()),
              0);
    PcxImage image;
    std::string error;
    ASSERT_TRUE(DecodePcxFile(pcx, image, &error)) << error;
    ASSERT_EQ(image.width * image.height, w * h);

    std::ifstream listing(txt);
    const std::regex entry(R"((\d+),(\d+): \((\d+),(\d+),(\d+)\))");
    int checked = 0;
    for (std::string line; std::getline(listing, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, entry)) continue;
        const int p = image.pixels[std::stoi(m[2]) * w + std::stoi(m[1])];
        EXPECT_EQ(image.palette[p], std::stoi(m[3])) << line;
        EXPECT_EQ(image.palette[256 + p], std::stoi(m[4])) << line;
        EXPECT_EQ(image.palette[512 + p], std::stoi(m[5])) << line;
        ++checked;
    }
    EXPECT_EQ(checked, w * h);
}

INSTANTIATE_TEST_SUITE_P(Colours, ImageMagickPcx, ::testing::Values(16, 256));

} // namespace
