#include <filesystem>

#include "editor/cell_commands.h"
#include "editor/level_check.h"
#include "editor/level_commands.h"
#include "editor_test_support.h"
#include "formats/definitions.h"
#include "formats/level_file.h"
#include "platform/script_answers.h"
#include "support/data_set.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

using LevelCommandsTest = EditorTest;

TEST_F(LevelCommandsTest, NewAsksThreeSizesAndRefusesWhatIsNotANumber) {
    Answer({"abc", "5", "4", "-1", "6"});
    NewLevelCommand();
    EXPECT_EQ(messages,
              (std::vector<std::string>{"You must enter a number.", "You must enter a number."}));
    EXPECT_EQ(prompts.front(), "Please enter the width (X) in cells of the new map");
    EXPECT_EQ(prompts.back(), "Please enter the Depth (Z) in cells of the new map");
    ASSERT_EQ((std::array{worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ}),
              (std::array{5, 4, 6}));
    EXPECT_EQ(cellAt(4, 0, 5), 1);
    EXPECT_EQ(cellAt(4, 1, 5), 0);
    EXPECT_EQ(brightnessAt(4, 3, 5), 128);
    EXPECT_EQ((std::array{levelState.startX, levelState.startY, levelState.startZ}),
              (std::array{2, 1, 3}));
    EXPECT_EQ((std::array{levelState.exitX, levelState.exitY, levelState.exitZ}),
              (std::array{-2, 1, -3}));
    EXPECT_EQ(editor.target.x, 1280.0f);
    EXPECT_EQ(editor.shown.z, 3 * 512 + 256.0f);
    EXPECT_FALSE(editor.modified);

    Answer({"0", "0", "0"});
    NewLevelCommand();
    EXPECT_EQ(worldGrid.cells, std::vector<std::uint8_t>{1});
}

TEST_F(LevelCommandsTest, NewDrawsItsSeedFromTheEditorsSequenceNotTheSentries) {
    // Initialising the sentries reseeds the shared generator with the level's
    // seed; New's seed must still follow the editor's own sequence.
    const auto newSeedAfterStart = [&](std::uint32_t sequence) {
        StartEditorLevel();
        editor.newLevelSeeds = sequence;
        Answer({"5", "4", "6"});
        NewLevelCommand();
        return levelState.randomSeed;
    };
    const std::int32_t first = newSeedAfterStart(1);
    EXPECT_EQ(newSeedAfterStart(1), first); // a fixed --seed repeats
    EXPECT_NE(newSeedAfterStart(2), first);
    // A second New goes on along the sequence.
    Answer({"5", "4", "6"});
    NewLevelCommand();
    EXPECT_NE(levelState.randomSeed, first);
    EXPECT_GE(levelState.randomSeed, 0);
    EXPECT_LE(levelState.randomSeed, 32766);
}

TEST_F(LevelCommandsTest, NewEndsWithNothingChangedOnCancelEmptyOrTooLarge) {
    for (auto script : {std::vector<std::optional<std::string>>{"5", std::nullopt},
                        std::vector<std::optional<std::string>>{"5", "5", ""},
                        std::vector<std::optional<std::string>>{"99999999999"}}) {
        answers.assign(script.begin(), script.end());
        NewLevelCommand();
        EXPECT_EQ(worldGrid.sizeX, 100);
    }
    EXPECT_EQ(messages, std::vector<std::string>{"The number 99999999999 is too large."});

    // Sizes that fit an integer but not memory give the fallback grid.
    Answer({"1000", "1000", "1000"});
    NewLevelCommand();
    EXPECT_EQ(messages.back(), "Not enough memory.");
    EXPECT_EQ((std::array{worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ}),
              (std::array{20, 20, 20}));
    EXPECT_EQ(levelState.startX, 10);
}

TEST_F(LevelCommandsTest, SentryCountAndSeedPrompts) {
    Answer({"300"});
    NumberOfSentriesCommand();
    EXPECT_EQ(sentryCount, 255);
    Answer({"-3", "x", "2"});
    NumberOfSentriesCommand();
    EXPECT_EQ(messages, (std::vector<std::string>{"You must enter a positive number.",
                                                  "You must enter a positive number."}));
    EXPECT_EQ(sentryCount, 2);
    Answer({""});
    NumberOfSentriesCommand();
    EXPECT_EQ(sentryCount, 2);

    Answer({"40000"});
    RandomSeedCommand();
    EXPECT_EQ(levelState.randomSeed, 40000);
    EXPECT_TRUE(UndoEdit());
    EXPECT_EQ(levelState.randomSeed, 0);

    Answer({std::string(300, 'd'), std::nullopt});
    LevelDescriptionCommand();
    LevelAuthorCommand();
    EXPECT_EQ(levelState.description, std::string(255, 'd'));
    EXPECT_EQ(levelState.author, "");
}

class LevelFilesTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor.currentObject = 2; // so that putting a block changes the empty cell
    }
    TempDir dir;
};

TEST_F(LevelFilesTest, SaveWritesTheLevelAndAFailedSaveKeepsTheName) {
    PutBlock();
    ASSERT_TRUE(editor.modified);
    const std::string good = dir.file("a.lev");
    files = {good};
    ASSERT_TRUE(SaveAsCommand());
    EXPECT_EQ(EditorCaption(), "Kelvane - Level Editor - " + good);
    EXPECT_FALSE(editor.modified);
    const auto saved = ReadLevelFile(good);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->state.definitionFile, "STANDARD.BNK");
    EXPECT_EQ(saved->cells, worldGrid.cells);

    // A folder's path and a missing folder cannot be written.
    DeleteCell();
    std::filesystem::create_directory(dir.file("folder.lev"));
    for (const std::string& bad : {dir.file("folder.lev"), dir.file("none/x.lev")}) {
        files = {bad};
        EXPECT_FALSE(SaveAsCommand());
        EXPECT_EQ(messages.back(), "The file " + bad + " could not be written.");
        EXPECT_EQ(editor.fileName, good);
        EXPECT_TRUE(editor.modified);
    }
}

TEST_F(LevelFilesTest, LoadRefusesBadFilesAndKeepsTheLevelsDefinitionName) {
    WriteMiniDataSet(dir);
    ScopedCurrentDir cd(dir.path());
    MakeNewLevel(3, 3, 3);
    LevelData level = CurrentLevel();
    level.state.definitionFile = kDefinitionFile;
    level.state.startX = 2;
    const std::string good = dir.write("good.lev", EncodeLevel(level));
    level.state.definitionFile = "Missing.bnk";
    const std::string noDefinitions = dir.write("nodefs.lev", EncodeLevel(level));
    const std::string damaged = dir.write("bad.lev", std::string("short"));

    ASSERT_TRUE(LoadEditorLevel(good));
    EXPECT_EQ(editor.target.x, 2 * 512 + 256.0f);
    for (const std::string& bad : {noDefinitions, damaged, dir.file("none.lev")}) {
        EXPECT_FALSE(LoadEditorLevel(bad));
        EXPECT_EQ(messages.back(), "The file " + bad + " is missing or invalid.");
        EXPECT_EQ(editor.fileName, good);
        EXPECT_EQ(levelState.definitionFile, kDefinitionFile);
    }
    EXPECT_EQ(LoadedDefinitionFile(), kDefinitionFile);
    ASSERT_TRUE(SaveEditorLevel(dir.file("again.lev")));
    EXPECT_EQ(ReadLevelFile(dir.file("again.lev"))->state.definitionFile, kDefinitionFile);
}

TEST_F(LevelFilesTest, UnsavedChangesAreAskedAboutFirst) {
    EXPECT_TRUE(ConfirmDiscardChanges()); // nothing changed: nothing asked
    PutBlock();
    saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No};
    Answer({"2", "2", "2"});
    NewLevelCommand();
    EXPECT_EQ(questions, std::vector<std::string>{"Save changes to Untitled?"});
    EXPECT_EQ(worldGrid.sizeX, 100);
    NewLevelCommand();
    EXPECT_EQ(worldGrid.sizeX, 2);

    PutBlock();
    saveAnswers = {SaveAnswer::Yes};
    files = {dir.file("kept.lev")};
    EXPECT_TRUE(ConfirmDiscardChanges());
    EXPECT_TRUE(std::filesystem::exists(dir.file("kept.lev")));
    EXPECT_FALSE(editor.modified);
}

TEST_F(LevelCommandsTest, ChecksListWhatMakesALevelUnplayable) {
    MakeNewLevel(4, 4, 4);
    EXPECT_EQ(CheckLevel(), std::vector<std::string>{"The exit is not placed inside the level."});

    levelState.exitX = levelState.startX; // start equal to exit, inside solid, sentries
    levelState.exitZ = levelState.startZ;
    setCell(levelState.startX, 1, levelState.startZ, 3);
    sentryCount = 2;
    sentries[1].x = sentries[1].y = sentries[1].z = 0;
    sentries[2] = SentryRecord{};
    sentries[2].x = 9000;
    levelState.musicZones[5] = {1, 1, 1, 7};
    objectTypes[9].Lingot = 1;
    objectTypes[9].LingotDoor = 8;
    objectTypes[8].Name = "Gate";
    setCell(0, 1, 0, 8);
    EXPECT_EQ(CheckLevel(), (std::vector<std::string>{
                                "The start point is inside a solid cell.",
                                "The start point and the exit are the same cell.",
                                "Sentry NME #1 has never been placed.",
                                "Sentry NME #2 lies outside the level.",
                                "The music zone at (1, 1, 1) names an empty music entry.",
                                "The ingot door Gate has no ingots in the level to open it.",
                            }));
    // The list names the cell of each warning that has one inside the grid:
    // the start's, the zone's and the first cell of the door.
    std::vector<std::string> lines;
    for (const LevelWarning& w : CheckLevelWarnings()) lines.push_back(WarningLine(w));
    const std::string start = "(" + std::to_string(levelState.startX) + ", 1, " +
                              std::to_string(levelState.startZ) + ") ";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         start + "The start point is inside a solid cell.",
                         start + "The start point and the exit are the same cell.",
                         "Sentry NME #1 has never been placed.",
                         "Sentry NME #2 lies outside the level.",
                         "(1, 1, 1) The music zone at (1, 1, 1) names an empty music entry.",
                         "(0, 1, 0) The ingot door Gate has no ingots in the level to open it.",
                     }));
    setCell(levelState.startX, 1, levelState.startZ, 0);
    setCell(levelState.startX, 0, levelState.startZ, 0);
    setCell(1, 1, 1, 9);
    EXPECT_EQ(CheckLevel()[0], "The start point is over nothing.");
}

// A script's queued answers come before the window's prompts, each prompt
// taking from its own queue; what is left over waits for the next prompt.
TEST_F(LevelFilesTest, ScriptAnswersComeBeforeTheWindowsPrompts) {
    ClearScriptAnswers();
    for (const char* size : {"3", "2", "4"}) QueueScriptAnswer(AnswerQueue::Prompt, {false, size});
    QueueScriptAnswer(AnswerQueue::File, {false, dir.file("queued.lev")});
    NewLevelCommand();
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ((std::array{worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ}),
              (std::array{3, 2, 4}));

    // The file queue is not used by the input boxes: Save as takes it.
    PutBlock();
    QueueScriptAnswer(AnswerQueue::SaveChanges, {true, ""}); // Cancel to "Save changes?"
    NewLevelCommand();
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(worldGrid.sizeX, 3);
    QueueScriptAnswer(AnswerQueue::SaveChanges, {false, "Yes"});
    EXPECT_TRUE(ConfirmDiscardChanges());
    EXPECT_EQ(editor.fileName, dir.file("queued.lev"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("queued.lev")));

    // Nothing queued: the window is asked again.
    EXPECT_FALSE(TakeScriptAnswer(AnswerQueue::Prompt));
    EXPECT_FALSE(TakeScriptAnswer(AnswerQueue::File));
}

} // namespace
