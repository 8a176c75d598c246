// The level source compiler: what a source becomes, and the errors that name
// the file and line of a mistake.
#include "levels_source.h"

#include <gtest/gtest.h>

#include "formats/definitions.h"

namespace {

// A 3 x 2 x 2 level: a floor, one wall cell in the north-east corner.
const std::string kSource = R"(; a comment line
Description = FIRST STEPS   ; comments may follow values
Author = TEAM
Size = 3 2 2
Start = 0 1 0 8192
Exit = 2 1 0
Seed = 77
Sentry = 1 1 1 8192
Music = 0 1 0 2
Light = 0 0 0 0 1 1 200

Legend
. = 0
# = 1
W = 2
E = 64

Layer 0
###
###
Layer 1
..W
..E
)";

std::string replaced(const std::string& from, const std::string& to) {
    std::string text = kSource;
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    return text;
}

std::string errorOf(const std::string& text, const std::string& name = "05-test.txt") {
    try {
        CompileLevelSource(name, text);
    } catch (const LevelSourceError& error) {
        return error.what();
    }
    return "compiled";
}

} // namespace

TEST(LevelSource, CompilesHeaderMapAndPlacements) {
    const CompiledLevel compiled = CompileLevelSource("05-test.txt", kSource);
    EXPECT_EQ(compiled.fileName, "05-FirstSteps.lev");
    const LevelData& level = compiled.level;
    EXPECT_EQ(level.state.definitionFile, kDefinitionFile);
    EXPECT_EQ(level.state.description, "FIRST STEPS");
    EXPECT_EQ(level.state.author, "TEAM");
    EXPECT_EQ(level.state.randomSeed, 77);
    EXPECT_EQ(level.state.startHeading, 8192);
    EXPECT_EQ(level.state.outside, 0);
    ASSERT_EQ(level.cells.size(), 12u);

    // The first row of a layer is the north edge (highest z).
    auto at = [&](int x, int y, int z) { return level.cells[x + 3 * (y + 2 * z)]; };
    EXPECT_EQ(at(2, 1, 1), 2);
    EXPECT_EQ(at(2, 1, 0), 64);
    EXPECT_EQ(at(0, 0, 1), 1);
    EXPECT_EQ(at(0, 1, 1), 0);

    // Brightness: 128 unless a light box covers the cell (its corners included).
    EXPECT_EQ(level.brightness[0 + 3 * (1 + 2 * 1)], 200);
    EXPECT_EQ(level.brightness[1 + 3 * (0 + 2 * 0)], 128);

    // Sentries sit at their cell's centre and keep the opposite of the way they look.
    ASSERT_EQ(level.sentries.size(), 1u);
    EXPECT_EQ(level.sentries[0].x, 768.0f);
    EXPECT_EQ(level.sentries[0].y, 768.0f);
    EXPECT_EQ(level.sentries[0].z, 768.0f);
    EXPECT_EQ(level.sentries[0].heading, -8192.0f);

    EXPECT_EQ(level.state.musicZones[0].x, 0);
    EXPECT_EQ(level.state.musicZones[0].y, 1);
    EXPECT_EQ(level.state.musicZones[0].music, 2);
    EXPECT_EQ(level.state.musicZones[1].x, kUnusedMusicZone);
}

TEST(LevelSource, LayerRangesRepeatTheirRowsAndUnlistedLayersAreEmpty) {
    const std::string text = replaced("Layer 1\n..W\n..E\n", "") + "Layer 0-1\n.#.\n...\n";
    // Layer 0 is now given twice.
    EXPECT_EQ(errorOf(text), "05-test.txt:21: layer 0 given twice");

    const std::string ranged =
        replaced("Layer 0\n###\n###\nLayer 1\n..W\n..E\n", "Layer 0-1\n#W#\n.E.\n");
    const LevelData level = CompileLevelSource("05-test.txt", ranged).level;
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(level.cells[1 + 3 * (y + 2 * 1)], 2);
        EXPECT_EQ(level.cells[1 + 3 * (y + 2 * 0)], 64);
    }
}

TEST(LevelSource, AHintAfterAColonIsShownButLeftOutOfTheFileName) {
    const CompiledLevel hinted = CompileLevelSource(
        "05-test.txt", replaced("FIRST STEPS", "FIRST STEPS: TAP FORWARD, THEN STOP"));
    EXPECT_EQ(hinted.fileName, "05-FirstSteps.lev");
    EXPECT_EQ(hinted.level.state.description, "FIRST STEPS: TAP FORWARD, THEN STOP");
    // A hint alone names nothing.
    EXPECT_EQ(errorOf(replaced("FIRST STEPS", ": TAP FORWARD")),
              "05-test.txt:2: the description has no letters");
}

TEST(LevelSource, ErrorsNameFileAndLine) {
    const struct {
        std::string from, to, message;
    } cases[] = {
        {"..W\n..E", "..W\n.QE", "05-test.txt:23: unknown legend character 'Q' in column 2"},
        {"..W\n..E", "..W\n..EE", "05-test.txt:23: row has 4 characters, the level is 3 wide"},
        {"Exit = 2 1 0\n", "", "05-test.txt:11: missing key \"Exit\" (the header ends here)"},
        {"Layer 1\n..W\n..E\n", "Layer 1\n..W\n",
         "05-test.txt:21: layer 1 has 1 rows, the level is 2 deep"},
        {"Layer 1\n", "Layer 2\n", "05-test.txt:21: layer 2 is outside 0..1"},
        {"Start = 0 1 0 8192", "Start = 0 1 5 8192",
         "05-test.txt:5: the start cell (0 1 5) is outside the level"},
        {"Start = 0 1 0 8192", "Start = 0 1 0 32768",
         "05-test.txt:5: the heading runs from 0 to 32767"},
        {"Start = 0 1 0 8192", "Start = 0 1 0", "05-test.txt:5: Start takes 4 numbers, not 3"},
        {"Seed = 77", "Seed = seventy", "05-test.txt:7: Seed: \"seventy\" is not a whole number"},
        {"Seed = 77", "Seed = 77\nSeed = 78", "05-test.txt:8: key \"Seed\" given twice"},
        {"Seed = 77", "Sead = 77", "05-test.txt:7: unknown key \"Sead\""},
        {"Music = 0 1 0 2", "Music = 0 1 0 256",
         "05-test.txt:9: the music list has entries 0 to 255"},
        {"Sentry = 1 1 1 8192", "Sentry = 1 2 1 8192",
         "05-test.txt:8: the sentry (1 2 1) is outside the level"},
        {"W = 2\n", "W = 300\n", "05-test.txt:15: legend entry 'W' needs an object type 0..255"},
        {"W = 2\n", "WW = 2\n",
         "05-test.txt:15: a legend entry is one character, '=', and an object type"},
        {"Seed = 77", "Seed 77", "05-test.txt:7: expected \"Key = value\""},
        {"..W\n..E\n", "..W\n..E\n...\n",
         "05-test.txt:24: expected \"Layer N\": a layer has exactly 2 rows"},
    };
    for (const auto& c : cases) EXPECT_EQ(errorOf(replaced(c.from, c.to)), c.message) << c.to;
    EXPECT_EQ(errorOf(kSource, "test.txt"),
              "test.txt:1: the file name must begin with two digits and '-' (\"03-digging.txt\")");
}
