#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTimer>

#include "backends/qt/app_icon.h"

#include "platform/keys.h"
#include "qt/qt_test_support.h"
#include "shell/qt/screen_form.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "shell/startup.h"
#include "support/data_set.h"
#include "support/test_support.h"

namespace {

class ScreenFormTest : public ShellTest {
  protected:
    void SetUp() override {
        EnsureQtApplication();
        ShellTest::SetUp();
    }
};

TEST_F(ScreenFormTest, FirstActivationInitialisesOnce) {
    TempDir data;
    WriteMiniDataSet(data);
    data.write("LEVEL/b1", "");
    data.write("LEVEL/A1", "");
    data.write("LEVEL/a1", "");
    data.write("LEVEL/x", ""); // too short a name
    data.write("game.dat", "");
    ScopedCurrentDir inData(data.path());

    TScreenForm form;
    EXPECT_FALSE(shellState.NetworkLobby);
    form.FormActivate();
    ASSERT_TRUE(shellState.Initialised);
    EXPECT_TRUE(shellState.ActivatedOnce);
    EXPECT_TRUE(shellState.MusicOn);
    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    EXPECT_TRUE(shellState.FirstFrame);
    EXPECT_EQ(shellState.LevelFiles,
              (std::vector<std::string>{"LEVEL\\A1", "LEVEL\\a1", "LEVEL\\b1"}));
    EXPECT_TRUE(form.GameLoop->isActive());

    // Switching away and back: nothing is read or entered again.
    data.write("LEVEL/c1", "");
    shellState.ScreenState = kScreenPlay;
    form.FormActivate();
    EXPECT_EQ(shellState.LevelCount, 3);
    EXPECT_EQ(shellState.ScreenState, kScreenPlay);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ScreenFormTest, ActivationWaitsUntilNoKeyIsHeld) {
    TempDir data;
    WriteMiniDataSet(data);
    data.write("LEVEL/l1", "");
    data.write("game.dat", "");
    ScopedCurrentDir inData(data.path());
    TScreenForm form;
    PressKey(kVkSpace);
    // Released only once the form lets the event loop run.
    QTimer::singleShot(0, [] { ReleaseKey(kVkSpace); });
    form.FormActivate();
    EXPECT_TRUE(shellState.Initialised);
    EXPECT_FALSE(KeyIsDown(kVkSpace));
}

TEST_F(ScreenFormTest, MissingLevelFolderEndsTheProgram) {
    TempDir data;
    WriteMiniDataSet(data);
    ScopedCurrentDir inData(data.path());
    TScreenForm form;
    form.FormActivate();
    EXPECT_EQ(messages,
              std::vector<std::string>{"GAME: Problem reading level files (LEVEL\\ folder)."});
    EXPECT_FALSE(shellState.Initialised);
    EXPECT_TRUE(shellState.EndRequested);
    EXPECT_EQ(shellState.ExitCode, 0);
    EXPECT_FALSE(form.GameLoop->isActive());
}

TEST_F(ScreenFormTest, LevelFolderWithoutUsableNames) {
    TempDir data;
    data.write("LEVEL/a", "");
    ScopedCurrentDir inData(data.path());
    EXPECT_FALSE(BuildLevelList());
    EXPECT_EQ(messages, std::vector<std::string>{"GAME: No level files (LEVEL\\ folder)."});
}

TEST_F(ScreenFormTest, LevelFolderIsFoundWhateverItsCase) {
    TempDir data;
    data.write("level/L2", "");
    data.write("level/L1", "");
    ScopedCurrentDir inData(data.path());
    ASSERT_TRUE(BuildLevelList());
    EXPECT_EQ(shellState.LevelFiles, (std::vector<std::string>{"LEVEL\\L1", "LEVEL\\L2"}));
}

TEST_F(ScreenFormTest, NetworkArgumentInAnyCaseOpensTheLobby) {
    shellState.CommandLine = {"/network"};
    TScreenForm form;
    EXPECT_TRUE(shellState.NetworkLobby);
    EXPECT_EQ(shellState.ScreenState, kScreenLobby);
    form.FormActivate(); // a network start does not load the game here
    EXPECT_FALSE(shellState.Initialised);
}

TEST(NetworkStartTest, OnlyTheFirstArgumentCounts) {
    EXPECT_TRUE(IsNetworkStart({"/NETWORK"}));
    EXPECT_TRUE(IsNetworkStart({"/NetWork", "x"}));
    EXPECT_FALSE(IsNetworkStart({}));
    EXPECT_FALSE(IsNetworkStart({"/NETWORKS"}));
    EXPECT_FALSE(IsNetworkStart({"--headless", "/NETWORK"}));
}

TEST_F(ScreenFormTest, TheWindowCarriesTheGamesIconAtEverySize) {
    TScreenForm form;
    EXPECT_EQ(form.windowIcon().availableSizes().size(), AppIconSizes().size());
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), AppIconName(AppIconKind::Game));
}

TEST_F(ScreenFormTest, ClosingTheWindowShutsDownOnce) {
    TScreenForm form;
    form.close();
    EXPECT_TRUE(shellState.EndRequested);
    EXPECT_EQ(shellState.ExitCode, 0);
    form.GameLoopTimer(); // no frame runs once the program ends
    EXPECT_FALSE(form.GameLoop->isActive());
}

} // namespace
