// Runs the built kelvane-level program on small level files.
#include "formats/level_file.h"
#include "run_tool.h"
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

const std::string kTool = std::string(KELVANE_BINARY_DIR) + "/tools/level/kelvane-level";

RunResult runTool(const TempDir& dir, const std::string& arguments) {
    return RunTool(kTool, dir, arguments);
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
    s.startX = s.startY = 1;
    s.startHeading = 16384;
    s.exitX = -1;
    s.description = "Two\nlines \\ here";
    s.author = "Me";
    s.outside = 1;
    s.randomSeed = 77;
    s.musicZones[5] = {0, 1, 0, 2};
    level.sentries = {{768.0f, 256.0f, 256.5f, -8192.0f}};
    return level;
}

} // namespace

TEST(LevelTool, InfoPrintsEveryFieldAndRefusesDamagedFiles) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool << " is not built";
    TempDir dir;
    auto bytes = EncodeLevel(smallLevel());
    RunResult r = runTool(dir, "info '" + dir.write("a.lev", bytes) + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "definition=Castle.bnk\nsizeX=2\nsizeY=2\nsizeZ=1\nstart=1,1,0\n"
                     "startHeading=16384\nexit=-1,0,0\ndescription=Two\\x0Alines \\\\ here\n"
                     "author=Me\noutside=1\nsentries=1\nseed=77\nsentry1=768,256,256.5,-8192\n"
                     "musicZone5=0,1,0,2\ncellsOfType0=1\ncellsOfType1=2\ncellsOfType7=1\n");

    bytes.pop_back();
    const std::string cut = dir.write("cut.lev", bytes);
    r = runTool(dir, "info '" + cut + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "The file " + cut + " is missing or invalid.\n");
    r = runTool(dir, "resave '" + cut + "' '" + dir.file("out.lev") + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.lev")));
    for (const char* args : {"", "info", "resave a", "dump a.lev"}) {
        EXPECT_EQ(runTool(dir, args).exitCode, 2) << args;
    }
}

TEST(LevelTool, ResaveWritesWhatTheEditorWould) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool << " is not built";
    TempDir dir;
    LevelData level = smallLevel();
    level.state.definitionFile = EditorDefinitionFile();
    const auto expected = EncodeLevel(level);
    // The definition file becomes the editor's; a longer target keeps its tail.
    const std::string in = dir.write("castle.lev", EncodeLevel(smallLevel()));
    const std::string out = dir.write("longer.lev", std::vector<std::uint8_t>(5000, 0xAB));
    const RunResult r = runTool(dir, "resave '" + in + "' '" + out + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto written = ReadBytes(out);
    ASSERT_EQ(written.size(), 5000u);
    EXPECT_EQ(written.back(), 0xAB);
    written.resize(expected.size());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(runTool(dir, "resave '" + in + "' '" + dir.file("no/out.lev") + "'").exitCode, 1);
}

TEST(LevelTool, CompilesALevelSourceAsTheDataKitDoes) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool << " is not built";
    TempDir dir;
    const std::string source = dir.write("07-room.txt", "Description = ROOM\nAuthor = ME\n"
                                                        "Size = 2 2 1\nStart = 0 1 0 8192\n"
                                                        "Exit = 1 1 0\nSeed = 5\n"
                                                        "Legend\n# = 1\n. = 0\nE = 64\n"
                                                        "Layer 0\n##\nLayer 1\n.E\n");
    RunResult r = runTool(dir, "compile '" + source + "' '" + dir.file("room.lev") + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = runTool(dir, "info '" + dir.file("room.lev") + "'");
    EXPECT_NE(r.out.find("description=ROOM\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cellsOfType64=1\n"), std::string::npos) << r.out;

    // A source error names the file and line; nothing is written.
    const std::string bad = dir.write("08-bad.txt", "Description = BAD\nSize = 0 1 1\n");
    r = runTool(dir, "compile '" + bad + "' '" + dir.file("bad.lev") + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("08-bad.txt:", 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.lev")));
    EXPECT_EQ(runTool(dir, "compile '" + dir.file("none.txt") + "' x.lev").exitCode, 1);
    EXPECT_EQ(runTool(dir, "compile a.txt").exitCode, 2);
}
