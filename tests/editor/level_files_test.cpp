// The editor's files: the question before Save as replaces a file, the
// backup of every save, the texts in the level file's character set, the
// Recent files list, the autosave and its offer after a crash, and where the
// dialogs open.
#include <array>
#include <filesystem>
#include <fstream>

#include "editor/autosave.h"
#include "editor/cell_commands.h"
#include "editor/level_commands.h"
#include "editor/level_files.h"
#include "editor/recent_files.h"
#include "editor_test_support.h"
#include "formats/level_file.h"
#include "platform/files.h"
#include "platform/script_answers.h"
#include "support/data_set.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

class EditorFilesTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        ClearScriptAnswers();
        editor.currentObject = 2;
        editor.settingsFile = dir.file("config/kelvedit.ini");
        editor.autosaveFolder = dir.file("state/autosave");
    }
    void TearDown() override {
        ClearScriptAnswers();
        EditorTest::TearDown();
    }
    std::vector<std::uint8_t> bytes(const std::string& path) {
        return ReadWholeFile(path).value_or(std::vector<std::uint8_t>{});
    }
    TempDir dir;
};

TEST_F(EditorFilesTest, SaveAsAsksBeforeReplacingAndEverySaveKeepsABackup) {
    const std::string shipped = dir.write("LEVEL/01.lev", std::string("shipped level"));
    PutBlock();
    // Cancel: the file stays as it was and nothing is saved.
    files = {shipped};
    saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(SaveAsCommand());
    EXPECT_EQ(questions.back(), "The file " + shipped + " already exists. Replace it?");
    EXPECT_EQ(bytes(shipped), bytes(dir.write("expected", std::string("shipped level"))));
    EXPECT_FALSE(fs::exists(BackupName(shipped)));
    EXPECT_TRUE(editor.modified);
    EXPECT_EQ(editor.fileName, "");

    // No asks for another file; a new one is written without a question.
    const std::string fresh = dir.file("LEVEL/mine.lev");
    files = {shipped, fresh};
    saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(SaveAsCommand());
    EXPECT_EQ(editor.fileName, fresh);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_FALSE(fs::exists(BackupName(fresh)));

    // Yes: replaced, the old content in NAME.bak.
    const std::vector<std::uint8_t> old = bytes(shipped);
    files = {shipped};
    saveAnswers = {SaveAnswer::Yes};
    ASSERT_TRUE(SaveAsCommand());
    EXPECT_EQ(bytes(BackupName(shipped)), old);
    EXPECT_EQ(bytes(shipped), EncodeEditorLevel());

    // A plain save over its own file keeps the previous version too.
    const std::vector<std::uint8_t> first = bytes(shipped);
    DeleteCell();
    ASSERT_TRUE(SaveCommand());
    EXPECT_EQ(bytes(BackupName(shipped)), first);
}

TEST_F(EditorFilesTest, ASaveWhoseBackupCannotBeWrittenLeavesTheFileAlone) {
    const std::string file = dir.write("a.lev", std::string("old"));
    fs::create_directory(BackupName(file)); // a folder where the backup would go
    PutBlock();
    EXPECT_FALSE(SaveEditorLevel(file));
    EXPECT_NE(messages.back().find("was not saved"), std::string::npos) << messages.back();
    EXPECT_EQ(bytes(file), bytes(dir.write("expected", std::string("old"))));
    EXPECT_TRUE(editor.modified);
}

TEST_F(EditorFilesTest, TextsAreStoredOneByteACharacterAndReadBackAsTyped) {
    // 300 characters of two bytes each are cut at 255 characters, not bytes.
    std::string long300;
    for (int i = 0; i < 300; ++i) long300 += "\u00e9";
    Answer({long300});
    LevelDescriptionCommand();
    EXPECT_EQ(levelState.description, std::string(255, '\xE9'));

    std::string accents;
    for (int i = 0; i < 200; ++i) accents += "\u00e9";
    Answer({accents, "Zo\u00eb \u20ac"});
    LevelDescriptionCommand();
    LevelAuthorCommand();
    const std::string file = dir.file("texts.lev");
    ASSERT_TRUE(SaveEditorLevel(file));
    const std::vector<std::uint8_t> saved = bytes(file);
    const std::size_t at = 4392 + 2 * worldGrid.cells.size();
    ASSERT_GT(saved.size(), at + 512);
    EXPECT_EQ(saved[at], 200);
    EXPECT_EQ(std::vector<std::uint8_t>(saved.begin() + at + 1, saved.begin() + at + 201),
              std::vector<std::uint8_t>(200, 0xE9));
    EXPECT_EQ(saved[at + 201], 0);
    EXPECT_EQ(std::vector<std::uint8_t>(saved.begin() + at + 256, saved.begin() + at + 262),
              (std::vector<std::uint8_t>{5, 'Z', 'o', 0xEB, ' ', 0x80}));

    // Read back, the dialogs show the text as it was typed.
    WriteMiniDataSet(dir);
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(LoadEditorLevel(file));
    std::string shown;
    editorServices.inputBox = [&](const std::string&, const std::string&,
                                  const std::string& initial) -> std::optional<std::string> {
        shown = initial;
        return std::nullopt;
    };
    LevelDescriptionCommand();
    EXPECT_EQ(shown, accents);
    LevelAuthorCommand();
    EXPECT_EQ(shown, "Zo\u00eb \u20ac");
}

TEST_F(EditorFilesTest, CharactersTheFileCannotHoldAreRefusedByName) {
    levelState.author = "Old";
    Answer({"Jos\u00e9 \u65e5\u672c \u65e5", "Jos\u00e9"});
    LevelAuthorCommand();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The level file cannot hold these characters: \"\u65e5\" \"\u672c\"");
    EXPECT_EQ(prompts.size(), 2u); // asked again
    EXPECT_EQ(levelState.author, "Jos\xE9");

    // Cancelled after the refusal: the author stays as it was.
    Answer({"\xff broken", std::nullopt});
    LevelAuthorCommand();
    EXPECT_EQ(messages.back(), "The level file cannot hold these characters: U+FFFD");
    EXPECT_EQ(levelState.author, "Jos\xE9");
}

TEST_F(EditorFilesTest, RecentFilesKeepEightNewestFirstAndDropMissingOnes) {
    std::vector<std::string> levels;
    for (int i = 0; i < 10; ++i) {
        levels.push_back(dir.file("r" + std::to_string(i) + ".lev"));
        ASSERT_TRUE(SaveEditorLevel(levels.back()));
    }
    ASSERT_TRUE(SaveEditorLevel(levels[5])); // again: moves to the front, once
    ASSERT_EQ(editor.recentFiles.size(), 8u);
    EXPECT_EQ(editor.recentFiles[0], levels[5]);
    EXPECT_EQ(editor.recentFiles[1], levels[9]);
    EXPECT_EQ(editor.recentFiles[7], levels[2]);
    EXPECT_EQ(ReadRecentFiles(), editor.recentFiles);

    fs::remove(levels[9]);
    EXPECT_EQ(ReadRecentFiles().size(), 7u);
    OpenRecentCommand(levels[9]);
    EXPECT_EQ(messages.back(), LevelErrorText(levels[9]));
    EXPECT_EQ(editor.recentFiles.size(), 7u);
    EXPECT_EQ(editor.fileName, levels[5]);

    // Without a settings file nothing is kept.
    editor.settingsFile.clear();
    EXPECT_TRUE(ReadRecentFiles().empty());
}

TEST_F(EditorFilesTest, AutosaveAfterTwoMinutesOfChangesGoesWithACleanSave) {
    AutosaveTick(kAutosaveIntervalMs); // nothing changed: nothing written
    EXPECT_TRUE(editor.autosaveWritten.empty());
    PutBlock();
    AutosaveTick(kAutosaveIntervalMs - 50);
    EXPECT_TRUE(editor.autosaveWritten.empty());
    AutosaveTick(50);
    ASSERT_EQ(editor.autosaveWritten, AutosaveFile());
    EXPECT_EQ(bytes(AutosaveFile()), EncodeEditorLevel());

    // Time while the level is clean does not count toward the next one.
    const std::string file = dir.file("clean.lev");
    ASSERT_TRUE(SaveEditorLevel(file));
    EXPECT_FALSE(fs::exists(AutosaveFile()));
    AutosaveTick(kAutosaveIntervalMs - 10);
    DeleteCell();
    AutosaveTick(kAutosaveIntervalMs - 10);
    EXPECT_TRUE(editor.autosaveWritten.empty());
}

TEST_F(EditorFilesTest, AnAutosaveLeftByACrashIsOfferedBack) {
    WriteMiniDataSet(dir);
    ScopedCurrentDir cd(dir.path());
    // A session that crashed while editing a file: its process is gone.
    PutBlock();
    PutBlock();
    const std::vector<std::uint8_t> crashed = EncodeEditorLevel();
    const std::string left = dir.write("state/autosave/kelvedit-999999999.lev", crashed);
    dir.write("state/autosave/kelvedit-999999999.name", std::string("/levels/mine.lev"));
    StartEditorLevel();

    saveAnswers = {SaveAnswer::Cancel};
    OfferAutosaveLeftover();
    EXPECT_TRUE(fs::exists(left)); // kept for the next start
    EXPECT_EQ(questions.back(), "The editor was not closed properly last time. Restore the "
                                "autosave of /levels/mine.lev?");

    saveAnswers = {SaveAnswer::Yes};
    OfferAutosaveLeftover();
    EXPECT_FALSE(fs::exists(left));
    EXPECT_EQ(EncodeEditorLevel(), crashed);
    EXPECT_EQ(editor.fileName, "/levels/mine.lev");
    EXPECT_TRUE(editor.modified);
    EXPECT_EQ(editor.autosaveRestored, left);
    // Kept again at once, under this editor's own name.
    EXPECT_EQ(bytes(AutosaveFile()), crashed);
    EXPECT_FALSE(FindAutosaveLeftover()); // its own file is not a leftover

    // An untitled leftover answered No is removed.
    const std::string other = dir.write("state/autosave/kelvedit-999999998.lev", crashed);
    saveAnswers = {SaveAnswer::No};
    OfferAutosaveLeftover();
    EXPECT_NE(questions.back().find("an untitled level"), std::string::npos);
    EXPECT_FALSE(fs::exists(other));
}

TEST_F(EditorFilesTest, DialogsOpenInTheLevelFolderWhateverItsCase) {
    for (const char* name : {"Level", "level", "LEVEL"}) {
        TempDir data;
        data.write(std::string(name) + "/01.lev", std::string("x"));
        data.write("levels.txt", std::string("a file, not the folder"));
        const LevelDialogPlaces open = LevelDialogPlacesFor(false, "", data.path().string());
        EXPECT_EQ(open.folder, (data.path() / name).string());
        EXPECT_EQ(open.fileName, "");
    }
    // The current file's folder and name come first.
    const std::string mine = dir.write("work/mine.lev", std::string("x"));
    const LevelDialogPlaces save = LevelDialogPlacesFor(true, mine, dir.path().string());
    EXPECT_EQ(save.folder, dir.file("work"));
    EXPECT_EQ(save.fileName, "mine.lev");
}

TEST_F(EditorFilesTest, TheSaveQuestionTakesOnlyItsOwnQueuedAnswers) {
    editorServices = EditorServices{}; // a run without a window
    PutBlock();
    QueueScriptAnswer(AnswerQueue::Prompt, {false, "3"});
    QueueScriptAnswer(AnswerQueue::Prompt, {false, "3"});
    QueueScriptAnswer(AnswerQueue::Prompt, {false, "3"});
    QueueScriptAnswer(AnswerQueue::SaveChanges, {false, "NO"});
    NewLevelCommand();
    EXPECT_EQ((std::array{worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ}),
              (std::array{3, 3, 3}));
    // Nothing queued for the question: Cancel, and New's answers stay queued.
    PutBlock();
    QueueScriptAnswer(AnswerQueue::Prompt, {false, "4"});
    NewLevelCommand();
    EXPECT_EQ(worldGrid.sizeX, 3);
    EXPECT_EQ(TakeScriptAnswer(AnswerQueue::Prompt)->text, "4");
}

} // namespace
