// The play screen's level flow on the shipped first level: lives and deaths,
// game over, the won level, refused files, and the head-up display's texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "formats/definitions.h"
#include "formats/level_file.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "shell/end_moment.h"
#include "shell/frame_step.h"
#include "shell/play_hud.h"
#include "shell/play_screen.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "support/test_support.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world/player_death.h"
#include "world/world.h"

namespace {

constexpr int kDeadlyType = 50; // stands on the floor: feet inside it kill
const std::string kFirstLevel = "LEVEL\\01-FirstSteps.lev";

class LevelFlow : public ShellDataTest {
  protected:
    void SetUp() override {
        ShellDataTest::SetUp();
        ClearWorldEvents();
        InstallPlayServices();
        shellState.Initialised = true;
        useLevels({kFirstLevel});
    }

    void useLevels(const std::vector<std::string>& files) {
        shellState.LevelFiles = files;
        shellState.LevelCount = static_cast<std::int32_t>(files.size());
    }

    // The first level with the deadly type in the hero's start cell.
    std::string writeDeadlyLevel() {
        Loaded<LevelData> level = ReadLevelFile(kFirstLevel);
        EXPECT_TRUE(level) << level.error;
        const LevelState& st = level->state;
        const std::size_t at = static_cast<std::size_t>(
            st.startX + level->sizeX * (st.startY + level->sizeY * st.startZ));
        level->cells.at(at) = kDeadlyType;
        const std::string file = dir_.file("deadly.lev");
        EXPECT_TRUE(WriteLevelBytes(file, EncodeLevel(*level)));
        return file;
    }

    // The deadly level with its exit on the hero's start cell.
    std::string writeDeadlyExitLevel() {
        Loaded<LevelData> level = ReadLevelFile(writeDeadlyLevel());
        EXPECT_TRUE(level) << level.error;
        LevelState& st = level->state;
        st.exitX = st.startX, st.exitY = st.startY, st.exitZ = st.startZ;
        const std::string file = dir_.file("deadly-exit.lev");
        EXPECT_TRUE(WriteLevelBytes(file, EncodeLevel(*level)));
        return file;
    }

    // One frame of 50 ms; records the lowest lives count and each message.
    void frame() {
        AdvanceVirtualClock(50);
        FrameStep();
        lowestLives = std::min(lowestLives, localRecord().lives);
        if (shellState.MessageShown && (shown.empty() || shown.back() != shellState.MessageText))
            shown.push_back(shellState.MessageText);
        if (endMoment.active) {
            momentFrames += 1;
            momentKind = endMoment.kind;
        }
    }
    void runUntil(const std::function<bool()>& done, int limit = 4000) {
        for (int i = 0; i < limit && !done(); ++i) frame();
    }
    static PlayerRecord& localRecord() { return players[std::clamp(localPlayer, 0, 3)]; }

    std::int32_t lowestLives = 1000;
    std::vector<std::string> shown;
    int momentFrames = 0; // frames that ended with a moment shown
    std::int32_t momentKind = kEndMomentNone;

  private:
    TempDir dir_;
};

TEST_F(LevelFlow, ADeadlyStartTakesALifePerDeathThenReturnsToTheTitle) {
    useLevels({writeDeadlyLevel()});
    StartNewGame(0);
    ASSERT_EQ(shellState.ScreenState, kScreenPlay) << (messages.empty() ? "" : messages[0]);
    runUntil([] { return shellState.ScreenState == kScreenTitle; });

    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    EXPECT_EQ(shellState.LevelOutcome, kOutcomeLost);
    EXPECT_EQ(shellState.LevelStarts, 4); // the first start and three restarts
    EXPECT_EQ(shown, (std::vector<std::string>{"2 LIVES LEFT", "1 LIVES LEFT", "0 LIVES LEFT"}));
    EXPECT_EQ(lowestLives, 0);
    // The last death shows the game over for 4 s before the title closes in,
    // and the title's message line says nothing of lives.
    EXPECT_EQ(momentKind, kEndMomentGameOver);
    EXPECT_EQ(endMoment.shownMs, kGameOverMs);
    EXPECT_GE(momentFrames * 50, kGameOverMs);
    EXPECT_FALSE(shellState.MessageShown);
    EXPECT_EQ(shellState.MessageText, "");
    EXPECT_FALSE(endMoment.active);
}

TEST_F(LevelFlow, FireCutsTheGameOverShortOnlyOnceItHasShownASecond) {
    useLevels({writeDeadlyLevel()});
    StartNewGame(0);
    localRecord().lives = 0;
    runUntil([] { return endMoment.active; });
    ASSERT_EQ(endMoment.kind, kEndMomentGameOver);
    EXPECT_EQ(MakeEndMomentTexts().title, "GAME OVER");
    PressKey(kVkSpace); // held from before the second has passed: no press
    runUntil([] { return endMoment.shownMs >= 1500; });
    EXPECT_FALSE(endMoment.closing);
    ReleaseKey(kVkSpace);
    frame();
    PressKey(kVkSpace);
    frame();
    EXPECT_TRUE(endMoment.closing);
    EXPECT_LT(endMoment.shownMs, kGameOverMs);
    ReleaseKey(kVkSpace);
    runUntil([] { return shellState.ScreenState == kScreenTitle; }, 100);
    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    EXPECT_EQ(shellState.LevelStarts, 1);
}

TEST_F(LevelFlow, AWonLevelShowsLevelCompleteWithItsTimeBeforeItCloses) {
    useLevels({kFirstLevel, kFirstLevel});
    StartNewGame(0);
    runUntil([] { return !shellState.TransitionActive; });
    for (int i = 0; i < 20; ++i) frame();
    timerRunning = 1;
    timeLeftMs = 5000;         // the countdown's ticks would be heard
    EndLevel(kLevelCompleted); // as the exit does
    ClearWorldEvents();
    EXPECT_FALSE(shellState.TransitionActive);
    EXPECT_EQ(shellState.LevelOutcome, kOutcomeCompleted);
    const EndMomentTexts texts = MakeEndMomentTexts();
    EXPECT_EQ(texts.title, "LEVEL COMPLETE");
    EXPECT_EQ(texts.detail, "TIME " + MinutesSeconds(endMoment.levelTimeMs));
    EXPECT_GE(endMoment.levelTimeMs, 20 * 50);
    // A quit from the menu while the moment is shown changes nothing, and
    // the hero takes no more orders: Escape opens no menu, Up walks nowhere.
    EndLevel(kLevelLost);
    EXPECT_EQ(shellState.LevelOutcome, kOutcomeCompleted);
    const float x = localRecord().x, z = localRecord().z;
    PressKey(kVkEscape);
    PressKey(kVkUp);
    for (int i = 0; i < 10; ++i) frame();
    ReleaseKey(kVkEscape);
    ReleaseKey(kVkUp);
    EXPECT_EQ(world.menu.open, 0);
    EXPECT_EQ(localRecord().x, x);
    EXPECT_EQ(localRecord().z, z);

    runUntil([] { return shellState.TransitionActive; }, 100);
    EXPECT_EQ(momentFrames * 50, kLevelCompleteMs);
    for (const WorldEvent& e : RecentWorldEvents())
        EXPECT_NE(e.kind, WorldEventKind::InterfaceSound) << DescribeWorldEvent(e);
    EXPECT_EQ(shellState.TransitionDirection, 1);
    runUntil([] { return shellState.LevelStarts == 2; }, 100);
    EXPECT_EQ(localRecord().levelIndex, 1);
    EXPECT_FALSE(endMoment.active);
    EXPECT_EQ(levelPlayMs, 0);
}

TEST_F(LevelFlow, AHeroKilledOnTheExitWithLivesLeftWinsTheLevel) {
    useLevels({writeDeadlyExitLevel(), kFirstLevel});
    StartNewGame(0);
    runUntil([] { return shellState.LevelStarts == 2 || shellState.ScreenState != kScreenPlay; });
    EXPECT_EQ(shellState.ScreenState, kScreenPlay);
    EXPECT_EQ(momentKind, kEndMomentLevelComplete);
    EXPECT_EQ(localRecord().levelIndex, 1);
    EXPECT_EQ(localRecord().lives, 3); // the death cost nothing
    EXPECT_EQ(lowestLives, 3);
    EXPECT_EQ(localRecord().dead, 0);
}

TEST_F(LevelFlow, AHeroKilledOnTheExitWithoutALifeLosesTheGame) {
    useLevels({writeDeadlyExitLevel(), kFirstLevel});
    StartNewGame(0);
    localRecord().lives = 0;
    runUntil([] { return shellState.ScreenState != kScreenPlay; });
    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    EXPECT_EQ(momentKind, kEndMomentGameOver);
    EXPECT_EQ(shellState.LevelOutcome, kOutcomeLost);
    EXPECT_EQ(shellState.LevelStarts, 1);
}

TEST_F(LevelFlow, ADeathWithNoLifeDuringTheOpeningStillEndsTheGame) {
    StartNewGame(0);
    localRecord().lives = 0;
    ASSERT_TRUE(shellState.TransitionActive); // the level's opening transition
    killPlayer();
    EXPECT_EQ(shellState.LevelOutcome, kOutcomeLost);
    EXPECT_EQ(shellState.TransitionDirection, -1); // the closing one could not start yet

    runUntil([] { return shellState.ScreenState == kScreenTitle; }, 400);
    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    EXPECT_EQ(lowestLives, 0);
    EXPECT_EQ(shellState.LevelStarts, 1);
}

TEST_F(LevelFlow, AKillWhileAWonLevelClosesChangesNothing) {
    StartNewGame(0);
    runUntil([] { return !shellState.TransitionActive; });
    EndLevel(kLevelCompleted); // as the exit does
    ASSERT_TRUE(endMoment.active);
    killPlayer();
    EXPECT_EQ(localRecord().dead, 0);
    EXPECT_EQ(shellState.LevelOutcome, kOutcomeCompleted);

    // The only level was the last: the end screen, with the index past the list.
    runUntil([] { return shellState.ScreenState == kScreenEnd; }, 400);
    EXPECT_EQ(shellState.ScreenState, kScreenEnd);
    EXPECT_EQ(localRecord().levelIndex, 1);
    EXPECT_EQ(localRecord().lives, 3);
}

TEST_F(LevelFlow, ARefusedLevelShowsItsMessageAndGoesBackToTheTitle) {
    useLevels({kFirstLevel, "LEVEL\\no-such-level.lev"});
    StartNewGame(0);
    runUntil([] { return !shellState.TransitionActive; });
    EndLevel(kLevelCompleted);
    runUntil([] { return shellState.ScreenState != kScreenPlay; }, 400);

    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The file LEVEL\\no-such-level.lev is missing or invalid.");
    EXPECT_FALSE(shellState.TransitionCompleted); // the title does not start a game by itself
    EXPECT_EQ(shellState.LevelStarts, 1);
}

TEST_F(LevelFlow, TheHudClampsItsCountsAndBlinksTheLastTwentySeconds) {
    useLevels(std::vector<std::string>(12, kFirstLevel));
    StartNewGame(2);
    localRecord().lives = 150;
    timerRunning = 1;
    timeLeftMs = 15700;
    HudTexts texts = MakeHudTexts();
    EXPECT_EQ(texts.timer, "00:15");
    EXPECT_EQ(texts.lives, "99");
    EXPECT_EQ(texts.level, "003/012");
    timeLeftMs = 15400; // the dark half of the second
    EXPECT_EQ(MakeHudTexts().timer, "");
    timeLeftMs = 21000;
    EXPECT_EQ(MakeHudTexts().timer, "00:21");
    timeLeftMs = 99 * 60000 + 5 * 60000;
    EXPECT_EQ(MakeHudTexts().timer, "99:00");
    localRecord().lives = -4;
    EXPECT_EQ(MakeHudTexts().lives, "00");
}

TEST_F(LevelFlow, TheCountdownTicksOncePerSecondOfTheLastEleven) {
    StartNewGame(0);
    ClearWorldEvents();
    timerRunning = 1;
    timeLeftMs = 15000;
    int ticks = 0;
    while (timerRunning) {
        SoundTimerCountdown();
        SoundTimerCountdown(); // twice in one frame still ticks once
        for (const WorldEvent& e : RecentWorldEvents())
            if (e.kind == WorldEventKind::InterfaceSound &&
                e.value == static_cast<std::int32_t>(InterfaceSound::Countdown))
                ++ticks;
        ClearWorldEvents();
        timeLeftMs -= 50;
        if (timeLeftMs < 0) timerRunning = 0;
    }
    EXPECT_EQ(ticks, 12); // 11, 10 ... 0
}

} // namespace
