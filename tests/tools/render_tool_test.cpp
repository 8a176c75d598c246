// Runs the built kelvane-render program on a small data folder.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "formats/definitions.h"
#include "formats/level_file.h"
#include "run_tool.h"
#include "support/data_set.h"
#include "support/test_support.h"

namespace {

const std::string kTool = std::string(KELVANE_BINARY_DIR) + "/tools/render/kelvane-render";

RunResult runTool(const TempDir& dir, const std::string& arguments) {
    return RunTool(kTool, dir, arguments);
}

// Width, height and number of distinct colours as ImageMagick decodes the
// file (it refuses damaged chunks and checksums); empty when it cannot.
std::string identify(const std::string& png) {
    const std::string out = png + ".txt";
    const std::string command =
        "identify -regard-warnings -format '%w %h %k' '" + png + "' >'" + out + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return "";
    const auto bytes = ReadBytes(out);
    return std::string(bytes.begin(), bytes.end());
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
    level.state.definitionFile = kDefinitionFile;
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
        int width = 0, height = 0, colours = 0;
        ASSERT_EQ(std::sscanf(identify(out).c_str(), "%d %d %d", &width, &height, &colours), 3);
        EXPECT_EQ(width, 96);
        EXPECT_EQ(height, 64);
        EXPECT_GT(colours, 4) << "a floor lit by the player's light";
    }
    // Follow camera from the level's start.
    const RunResult r = runTool(dir, data + "--level LEVEL/TEST.LEV --distance 1024 -o '" +
                                         dir.file("follow.png") + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(identify(dir.file("follow.png")).substr(0, 8), "320 240 ");
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
