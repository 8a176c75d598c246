// Runs the built kelvane-level program on small level files.
#include "formats/level_file.h"
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

const std::string kTool = std::string(KELVANE_BINARY_DIR) + "/tools/level/kelvane-level";

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

RunResult runTool(const TempDir& dir, const std::string& arguments) {
    const std::string outFile = dir.file("stdout.txt"), errFile = dir.file("stderr.txt");
    const std::string command =
        "'" + kTool + "' " + arguments + " >'" + outFile + "' 2>'" + errFile + "'";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto out = ReadBytes(outFile), err = ReadBytes(errFile);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    return result;
}

LevelData smallLevel() {
    LevelData level;
    level.sizeX = 2;
    level.sizeY = 2;
    level.sizeZ = 1;
    level.cells = {1, 1, 0, 7};
    level.brightness = {128, 128, 128, 130};
    LevelState& s = level.state;
    s.definitionFile = "Castle.bnk";
    s.startX = 1;
    s.startY = 1;
    s.startHeading = 16384;
    s.exitX = -1;
    s.exitY = 1;
    s.description = "Two\nlines \\ here";
    s.author = "Me";
    s.outside = 1;
    s.randomSeed = 77;
    s.musicZones[5] = {0, 1, 0, 2};
    level.sentries = {{768.0f, 256.0f, 256.5f, -8192.0f}};
    return level;
}

class LevelTool : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool << " is not built";
    }
    TempDir dir;
};

} // namespace

TEST_F(LevelTool, InfoPrintsEveryFieldAsKeyValueLines) {
    const std::string file = dir.write("a.lev", EncodeLevel(smallLevel()));
    const RunResult r = runTool(dir, "info '" + file + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "definition=Castle.bnk\n"
                     "sizeX=2\nsizeY=2\nsizeZ=1\n"
                     "start=1,1,0\n"
                     "startHeading=16384\n"
                     "exit=-1,1,0\n"
                     "description=Two\\x0Alines \\\\ here\n"
                     "author=Me\n"
                     "outside=1\n"
                     "sentries=1\n"
                     "seed=77\n"
                     "sentry1=768,256,256.5,-8192\n"
                     "musicZone5=0,1,0,2\n"
                     "cellsOfType0=1\n"
                     "cellsOfType1=2\n"
                     "cellsOfType7=1\n");
}

TEST_F(LevelTool, DamagedFilesAndUsageErrorsFail) {
    auto bytes = EncodeLevel(smallLevel());
    bytes.pop_back();
    const std::string file = dir.write("cut.lev", bytes);
    RunResult r = runTool(dir, "info '" + file + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "The file " + file + " is missing or invalid.\n");

    r = runTool(dir, "resave '" + file + "' '" + dir.file("out.lev") + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.lev")));

    for (const char* args : {"", "info", "info a b", "resave a", "dump a.lev"}) {
        r = runTool(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage"), std::string::npos) << args;
    }
}

TEST_F(LevelTool, ResaveWritesWhatTheEditorWould) {
    LevelData level = smallLevel();
    level.state.definitionFile = kEditorDefinitionFile;
    const auto bytes = EncodeLevel(level);
    const std::string in = dir.write("in.lev", bytes);
    RunResult r = runTool(dir, "resave '" + in + "' '" + dir.file("out.lev") + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.file("out.lev")), bytes);

    // Another definition file becomes the editor's; a longer target keeps its tail.
    const std::string castle = dir.write("castle.lev", EncodeLevel(smallLevel()));
    std::vector<std::uint8_t> longer(bytes.size() + 10, 0xAB);
    const std::string target = dir.write("longer.lev", longer);
    r = runTool(dir, "resave '" + castle + "' '" + target + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto written = ReadBytes(target);
    ASSERT_EQ(written.size(), longer.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), written.begin()));
    EXPECT_EQ(written.back(), 0xAB);

    r = runTool(dir, "resave '" + in + "' '" + dir.file("missing/out.lev") + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("missing/out.lev"), std::string::npos);
}
