// The tools' PNG encoder: what it writes inflates back to the same pixels,
// chunk by chunk checked as a decoder would, and a real render stays small.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <zlib.h>

#include <gtest/gtest.h>

#include "png_writer.h"
#include "run_tool.h"
#include "support/test_support.h"

namespace {

struct Decoded {
    std::string error; // empty when the file decoded
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

Decoded failure(const std::string& error) {
    Decoded out;
    out.error = error;
    return out;
}

std::uint32_t bigEndian(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// A decoder of 8-bit RGB PNG files written independently of the encoder:
// signature, chunk checksums, header, the inflated image data and its filters.
Decoded decodePng(const std::vector<std::uint8_t>& png) {
    Decoded out;
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(kSignature, kSignature + 8, png.begin()))
        return failure("no PNG signature");
    std::vector<std::uint8_t> packed;
    bool ended = false;
    for (std::size_t at = 8; !ended;) {
        if (png.size() - at < 12) return failure("truncated chunk");
        const std::uint32_t length = bigEndian(&png[at]);
        if (png.size() - at - 12 < length) return failure("chunk longer than the file");
        const std::string type(png.begin() + std::ptrdiff_t(at + 4),
                               png.begin() + std::ptrdiff_t(at + 8));
        const std::uint8_t* data = &png[at + 8];
        if (crc32(0, &png[at + 4], length + 4) != bigEndian(data + length))
            return failure("bad checksum of " + type);
        if (type == "IHDR") {
            if (length != 13) return failure("bad header");
            out.width = int(bigEndian(data));
            out.height = int(bigEndian(data + 4));
            if (data[8] != 8 || data[9] != 2 || data[10] != 0 || data[11] != 0 || data[12] != 0)
                return failure("not 8-bit RGB without interlace");
        } else if (type == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
        if (!ended && at == png.size()) return failure("no IEND");
    }
    const std::size_t rowBytes = std::size_t(out.width) * 3;
    std::vector<std::uint8_t> raw((rowBytes + 1) * std::size_t(out.height));
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, packed.data(), packed.size()) != Z_OK ||
        rawSize != raw.size())
        return failure("image data does not inflate to the picture's size");
    out.rgb.resize(rowBytes * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t filter = raw[(rowBytes + 1) * std::size_t(y)];
        const std::uint8_t* in = &raw[(rowBytes + 1) * std::size_t(y) + 1];
        std::uint8_t* row = &out.rgb[rowBytes * std::size_t(y)];
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 3 ? row[i - 3] : 0, b = y > 0 ? row[i - rowBytes] : 0,
                      c = i >= 3 && y > 0 ? row[i - rowBytes - 3] : 0;
            int predicted = 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 3:
                predicted = (a + b) / 2;
                break;
            case 4:
                predicted = paeth(a, b, c);
                break;
            default:
                return failure("unknown filter " + std::to_string(filter));
            }
            row[i] = std::uint8_t(in[i] + predicted);
        }
    }
    return out;
}

// A picture with flat areas, gradients, edges and noise.
std::vector<std::uint8_t> mixedPicture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> rgb(std::size_t(width) * std::size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            const int band = y * 4 / height;
            p[0] = std::uint8_t(band == 0   ? 40
                                : band == 1 ? x * 7
                                : band == 2 ? (x + y) * 3
                                            : random());
            p[1] = std::uint8_t(band == 1 ? y * 5 : band == 3 ? random() : 200 - x);
            p[2] = std::uint8_t((x / 5 + y / 3) % 2 ? 255 : 0);
        }
    return rgb;
}

} // namespace

TEST(PngWriter, InflatesBackToTheSamePixels) {
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 5}, {64, 48}, {333, 17}, {1, 200}}) {
        const std::vector<std::uint8_t> rgb = mixedPicture(width, height, unsigned(width * height));
        const Decoded decoded = decodePng(EncodePng(width, height, rgb));
        ASSERT_EQ(decoded.error, "") << width << "x" << height;
        EXPECT_EQ(decoded.width, width);
        EXPECT_EQ(decoded.height, height);
        EXPECT_TRUE(decoded.rgb == rgb) << width << "x" << height;
    }
}

TEST(PngWriter, CompressesAndRefusesPixelsThatDoNotFit) {
    // A flat picture deflates to almost nothing.
    const std::vector<std::uint8_t> grey(640 * 480 * 3, 128);
    EXPECT_LT(EncodePng(640, 480, grey).size(), 4000u);

    EXPECT_TRUE(EncodePng(0, 5, {}).empty());
    EXPECT_TRUE(EncodePng(2, 2, std::vector<std::uint8_t>(11)).empty());
    EXPECT_TRUE(EncodePng(-2, -2, std::vector<std::uint8_t>(12)).empty());
    TempDir dir;
    EXPECT_FALSE(WritePng(dir.file("bad.png"), 2, 2, std::vector<std::uint8_t>(13)));
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.png")));
    EXPECT_FALSE(WritePng(dir.file("no/such/folder/x.png"), 1, 1, {1, 2, 3}));
    ASSERT_TRUE(WritePng(dir.file("ok.png"), 1, 1, {1, 2, 3}));
    EXPECT_EQ(decodePng(ReadBytes(dir.file("ok.png"))).rgb, (std::vector<std::uint8_t>{1, 2, 3}));
}

// A 640 x 480 picture of a shipped level (the first, from its start: the
// largest file of the shipped levels): small, and ImageMagick reads the same
// pixels from it as the decoder above.
TEST(PngWriter, ARenderOfAShippedLevelIsSmall) {
    const std::string tool = std::string(KELVANE_BINARY_DIR) + "/tools/render/kelvane-render";
    const std::string data = std::string(KELVANE_BINARY_DIR) + "/data";
    ASSERT_TRUE(std::filesystem::exists(tool)) << tool << " is not built";
    TempDir dir;
    const std::string out = dir.file("level.png");
    const RunResult r = RunTool(
        tool, dir,
        "--data '" + data + "' --level LEVEL/01-FirstSteps.lev --size 640x480 -o '" + out + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::uint8_t> png = ReadBytes(out);
    EXPECT_LT(png.size(), 200u * 1000u);
    const Decoded decoded = decodePng(png);
    ASSERT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.width, 640);
    EXPECT_EQ(decoded.height, 480);

    const std::string raw = dir.file("level.rgb");
    ASSERT_EQ(std::system(("convert '" + out + "' -depth 8 'rgb:" + raw + "'").c_str()), 0);
    EXPECT_TRUE(ReadBytes(raw) == decoded.rgb) << "ImageMagick reads other pixels";
}
