// Test-play's copy of the level: one per editor process, overwritten by the
// next test-play, removed when the editor ends.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "editor/cell_commands.h"
#include "editor/level_commands.h"
#include "editor/test_play.h"
#include "editor_test_support.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

class TestPlayTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        setenv("TMPDIR", dir.path().c_str(), 1);
        editor.gameProgram = dir.write("kelvane", std::string("#!/bin/sh\n"));
    }
    void TearDown() override {
        RemoveTestPlayFile();
        unsetenv("TMPDIR");
        EditorTest::TearDown();
    }
    TempDir dir;
};

TEST_F(TestPlayTest, EachEditorKeepsItsOwnCopyUntilItEnds) {
    // Another editor's copy, written before this one's.
    const std::string other = dir.write("kelvedit-test-play-1.lev", std::string("other"));
    const std::string own = dir.file("kelvedit-test-play-" + std::to_string(getpid()) + ".lev");
    ASSERT_NE(own, other);

    ASSERT_TRUE(TestPlayCommand());
    EXPECT_EQ(ReadWholeFile(own), EncodeEditorLevel());
    editor.currentObject = 2;
    PutBlock();
    ASSERT_TRUE(TestPlayCommand()); // the same copy, with the level as it is now
    EXPECT_EQ(ReadWholeFile(own), EncodeEditorLevel());
    EXPECT_EQ(ReadWholeFile(other), std::vector<std::uint8_t>({'o', 't', 'h', 'e', 'r'}));

    RemoveTestPlayFile();
    EXPECT_FALSE(std::filesystem::exists(own));
    EXPECT_TRUE(std::filesystem::exists(other));
    RemoveTestPlayFile(); // nothing left to remove
    EXPECT_TRUE(messages.empty());
}

TEST_F(TestPlayTest, TheCopyOutlivesTheEditorOnlyWhileAGameWasStartedOnIt) {
    ASSERT_TRUE(TestPlayCommand()); // no launcher: the command line only
    ForgetTestPlayFile();
    EXPECT_FALSE(std::filesystem::exists(TestPlayFile()));

    int starts = 0;
    editorServices.startProgram = [&](const std::string&, const std::vector<std::string>&) {
        ++starts;
        return true;
    };
    ASSERT_TRUE(TestPlayCommand());
    editorServices.startProgram = nullptr;
    EXPECT_EQ(starts, 1);
    ForgetTestPlayFile(); // the game reloads the copy when its level restarts
    EXPECT_TRUE(std::filesystem::exists(TestPlayFile()));
}

TEST_F(TestPlayTest, ACopyThatCannotBeWrittenIsSaidAndNothingIsStarted) {
    std::filesystem::create_directory(TestPlayFile()); // a folder holds the name
    EXPECT_FALSE(TestPlayCommand());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The file " + TestPlayFile().string() + " could not be written.");
    EXPECT_EQ(editor.lastLaunch, "");
    RemoveTestPlayFile(); // leaves another's folder alone
    EXPECT_TRUE(std::filesystem::is_directory(TestPlayFile()));
}

} // namespace

namespace {

TEST_F(TestPlayTest, FromHereStartsOnTheSelectorsCellFacingItsWay) {
    editor.dataFolder = "/data";
    MakeNewLevel(5, 4, 6);
    PlaceSelectorAt({3, 2, 1});
    // The heading is never wrapped while turning: a quarter turn left from 0.
    editor.target.heading = -8192;
    ASSERT_TRUE(TestPlayFromHereCommand());
    EXPECT_EQ(editor.lastLaunch, editor.gameProgram + " --data /data --level " +
                                     TestPlayFile().string() +
                                     " --start-cell 3,2,1 --start-heading 24576");
    editor.target.heading = 3 * 32768 + 100;
    EXPECT_EQ(SelectorPlayStart().heading, 100);
    // The level's own start is left as it was.
    EXPECT_EQ((std::array{levelState.startX, levelState.startY, levelState.startZ}),
              (std::array{2, 1, 3}));
}

} // namespace
