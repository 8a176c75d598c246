// Runs the built kelvane-render program on a small data folder.
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "formats/level_file.h"
#include "support/data_set.h"
#include "support/test_support.h"

namespace {

const std::string kTool = std::string(KELVANE_BINARY_DIR) + "/tools/render/kelvane-render";

struct RunResult {
    int exitCode = -1;
    std::string err;
};

RunResult runTool(const TempDir& dir, const std::string& arguments) {
    const std::string err = dir.file("stderr.txt");
    const int status =
        std::system(("'" + kTool + "' " + arguments + " >/dev/null 2>'" + err + "'").c_str());
    const auto errBytes = ReadBytes(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(errBytes.begin(), errBytes.end())};
}

std::uint32_t big32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 |
           std::uint32_t(b[at + 2]) << 8 | b[at + 3];
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

struct Picture {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> rows; // filter byte + RGB per row
};

// Reads back an RGB PNG of stored deflate blocks, checking every CRC and the
// zlib checksum; false on anything else.
bool readPng(const std::vector<std::uint8_t>& png, Picture& picture) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(kSignature, kSignature + 8, png.begin())) return false;
    std::vector<std::uint8_t> zlib;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = big32(png, at);
        if (at + 12 + length > png.size()) return false;
        if (crc32(&png[at + 4], length + 4) != big32(png, at + 8 + length)) return false;
        const std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
        const auto data = png.begin() + long(at) + 8;
        if (type == "IHDR") {
            picture.width = big32(png, at + 8);
            picture.height = big32(png, at + 12);
            if (data[8] != 8 || data[9] != 2) return false;
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            break;
        }
        at += 12 + length;
    }
    for (std::size_t at = 2; at + 5 <= zlib.size();) {
        const std::size_t length = zlib[at + 1] | zlib[at + 2] << 8;
        if (at + 5 + length > zlib.size()) return false;
        picture.rows.insert(picture.rows.end(), zlib.begin() + long(at) + 5,
                            zlib.begin() + long(at + 5 + length));
        const bool last = zlib[at] & 1;
        at += 5 + length;
        if (last) break;
    }
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : picture.rows) a = (a + byte) % 65521, b = (b + a) % 65521;
    return zlib.size() >= 4 && big32(zlib, zlib.size() - 4) == ((b << 16) | a);
}

// A floor of cubes with one pillar, in the mini data set.
void writeLevel(const TempDir& dir) {
    WriteMiniDataSet(dir, "[Object 1]\nCube=TRUE\nFaceATexture=0\nFaceBTexture=1\n"
                          "FaceCTexture=0\nFaceDTexture=1\nFaceETexture=0\nFaceFTexture=1\n");
    LevelData level;
    level.sizeX = level.sizeZ = 6;
    level.sizeY = 3;
    level.cells.assign(6 * 3 * 6, 0);
    level.brightness.assign(level.cells.size(), 128);
    for (int x = 0; x < 6; ++x)
        for (int z = 0; z < 6; ++z) level.cells[x + 6 * 3 * z] = 1;
    level.cells[3 + 6 * (1 + 3 * 4)] = 1;
    level.state.definitionFile = "Standard.bnk";
    level.state.startX = 2;
    level.state.startY = 1;
    level.state.startZ = 1;
    dir.write("LEVEL/TEST.LEV", EncodeLevel(level));
}

} // namespace

TEST(RenderTool, WritesThePictureOfALevel) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool << " is not built";
    TempDir dir;
    writeLevel(dir);
    const std::string data = "--data '" + dir.path().string() + "' ";
    // The level inside the data folder, then by a path from where the tool starts.
    for (const std::string& level : {std::string("level/test.lev"), dir.file("LEVEL/TEST.LEV")}) {
        const std::string out = dir.file("out.png");
        std::filesystem::remove(out);
        const RunResult r = runTool(dir, data + "--level '" + level + "' --size 96x64 " +
                                             "--camera 1280,900,400,600,-2500 -o '" + out + "'");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        Picture picture;
        ASSERT_TRUE(readPng(ReadBytes(out), picture));
        EXPECT_EQ(picture.width, 96u);
        EXPECT_EQ(picture.height, 64u);
        ASSERT_EQ(picture.rows.size(), 64u * (1 + 96 * 3));
        std::set<std::uint8_t> shades(picture.rows.begin(), picture.rows.end());
        EXPECT_GT(shades.size(), 4u) << "a floor lit by the player's light";
    }
    // Follow camera from the level's start.
    const RunResult r = runTool(dir, data + "--level LEVEL/TEST.LEV --distance 1024 -o '" +
                                         dir.file("follow.png") + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    Picture picture;
    ASSERT_TRUE(readPng(ReadBytes(dir.file("follow.png")), picture));
    EXPECT_EQ(picture.width, 320u);
}

TEST(RenderTool, RefusesMissingDataAndBadArguments) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool << " is not built";
    TempDir dir;
    writeLevel(dir);
    const std::string data = "--data '" + dir.path().string() + "' ";
    const std::string out = " -o '" + dir.file("x.png") + "'";

    RunResult r = runTool(dir, data + "--level LEVEL/NONE.LEV" + out);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("The file LEVEL/NONE.LEV is missing or invalid."), std::string::npos);
    EXPECT_EQ(runTool(dir, "--data '" + dir.file("nowhere") + "' --level a.lev" + out).exitCode, 1);
    std::filesystem::remove(dir.file("BANK.TXT"));
    std::filesystem::remove(dir.file("bank.txt"));
    EXPECT_EQ(runTool(dir, data + "--level LEVEL/TEST.LEV" + out).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));

    for (const std::string& args :
         {std::string(""), data + "--level a.lev", data + "--level a.lev --size 10" + out,
          data + "--level a.lev --size 0x5" + out, data + "--level a.lev --camera 1,2,3" + out,
          data + "--level a.lev --distance -1" + out, data + "--level a.lev --fast" + out,
          data + "--level"}) {
        r = runTool(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage: kelvane-render"), std::string::npos) << args;
    }
}
