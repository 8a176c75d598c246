// The automation's key script as the game's frames see it.
#include <gtest/gtest.h>

#include "platform/keys.h"
#include "shell/automation_run.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"

namespace {

using AutomationRun = ShellTest;

TEST_F(AutomationRun, AKeyTheScriptHoldsStaysDownThroughALostFocus) {
    GameOptions options;
    auto script = ParseInputScript("1-5 UP\n3 SPACE\n");
    ASSERT_TRUE(script) << script.error;
    options.script = *script;
    ConfigureAutomation(options);

    BeginAutomatedFrame(); // frame 1
    EXPECT_TRUE(QueryKey(kVkUp));
    BeginAutomatedFrame(); // frame 2
    ReleaseAllKeys();      // the window lost the focus
    BeginAutomatedFrame(); // frame 3
    EXPECT_TRUE(KeyIsDown(kVkUp));
    EXPECT_TRUE(QueryKey(kVkSpace));
    BeginAutomatedFrame(); // frame 4: the one-frame tap is over
    EXPECT_FALSE(QueryKey(kVkSpace));
    EXPECT_TRUE(KeyIsDown(kVkUp));
    BeginAutomatedFrame(); // 5
    BeginAutomatedFrame(); // 6: released by the script
    EXPECT_FALSE(KeyIsDown(kVkUp));
}

TEST_F(AutomationRun, ScriptFromPlayWaitsForTheFirstPlayFrame) {
    GameOptions options;
    auto script = ParseInputScript("1 UP\n");
    ASSERT_TRUE(script) << script.error;
    options.script = *script;
    options.net.scriptFromPlay = true;
    ConfigureAutomation(options);
    shellState.ScreenState = kScreenLobby;
    BeginAutomatedFrame();
    BeginAutomatedFrame();
    EXPECT_EQ(ScriptFrame(), 0);
    EXPECT_FALSE(KeyIsDown(kVkUp));
    shellState.ScreenState = kScreenPlay; // the lobby's last frame started the level
    BeginAutomatedFrame();
    EXPECT_EQ(FramesRun(), 3);
    EXPECT_EQ(ScriptFrame(), 1);
    EXPECT_TRUE(KeyIsDown(kVkUp));
    // Leaving play later does not restart the count.
    shellState.ScreenState = kScreenEnd;
    BeginAutomatedFrame();
    EXPECT_EQ(ScriptFrame(), 2);
    EXPECT_FALSE(KeyIsDown(kVkUp));
}

TEST_F(AutomationRun, OnlyNetworkRunsOnTheVirtualClockPaceInRealTime) {
    GameOptions options;
    options.frameMs = 40;
    ConfigureAutomation(options);
    shellState.CommandLine = {};
    EXPECT_EQ(RealTimeFrameMs(), std::nullopt);
    shellState.CommandLine = {"/NETWORK"};
    EXPECT_EQ(RealTimeFrameMs(), 40);
    options.frameMs.reset();
    ConfigureAutomation(options);
    EXPECT_EQ(RealTimeFrameMs(), std::nullopt);
}

} // namespace
