#include <gtest/gtest.h>

#include "platform/clock.h"
#include "shell/frame_step.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "world/frame_clock.h"

namespace {

// One frame's clock and transition step, `ms` after the previous frame.
void frameAfter(std::int32_t ms) {
    AdvanceVirtualClock(ms);
    AdvanceFrameClock();
    StepTransition();
}

using TransitionTest = ShellTest;

TEST_F(TransitionTest, LongFramesAdvanceAtMostThreeSteps) {
    StartTransition(+1);
    ASSERT_TRUE(shellState.TransitionActive);
    EXPECT_EQ(shellState.TransitionLevel, 0);
    EXPECT_EQ(shellState.TransitionLastStep, 1000);

    frameAfter(130); // 130 / 40 = 3
    EXPECT_EQ(shellState.TransitionLevel, 3);
    EXPECT_EQ(shellState.TransitionLastStep, 1130);
    frameAfter(500); // 12 steps' worth, still 3
    EXPECT_EQ(shellState.TransitionLevel, 6);
    frameAfter(40); // not more than 40 ms: no step, and the last step stays
    EXPECT_EQ(shellState.TransitionLevel, 6);
    EXPECT_EQ(shellState.TransitionLastStep, 1630);
    frameAfter(1); // 41 ms since the last step
    EXPECT_EQ(shellState.TransitionLevel, 7);
}

TEST_F(TransitionTest, ClosingCompletesPastSixteen) {
    StartTransition(+1);
    int frames = 0;
    while (shellState.TransitionActive && frames < 100) {
        EXPECT_FALSE(shellState.TransitionCompleted);
        frameAfter(50);
        ++frames;
    }
    EXPECT_EQ(frames, 17);
    EXPECT_EQ(shellState.TransitionLevel, 17);
    EXPECT_TRUE(shellState.TransitionCompleted);
}

TEST_F(TransitionTest, OpeningUncoversWithoutCompleting) {
    StartTransition(-1);
    EXPECT_EQ(shellState.TransitionLevel, 16);
    EXPECT_EQ(shellState.TransitionDirection, -1);
    int frames = 0;
    while (shellState.TransitionActive && frames < 100) {
        frameAfter(50);
        ++frames;
    }
    EXPECT_EQ(frames, 17);
    EXPECT_EQ(shellState.TransitionLevel, -1);
    EXPECT_FALSE(shellState.TransitionCompleted);
}

TEST_F(TransitionTest, ClosingDuringOpeningIsIgnored) {
    StartTransition(-1);
    frameAfter(130);
    const ShellState before = shellState;
    AdvanceVirtualClock(20);
    StartTransition(+1);
    EXPECT_EQ(shellState.TransitionDirection, -1);
    EXPECT_EQ(shellState.TransitionLevel, before.TransitionLevel);
    EXPECT_EQ(shellState.TransitionLastStep, before.TransitionLastStep);
    EXPECT_EQ(shellState.TransitionStyle, before.TransitionStyle);
}

TEST_F(TransitionTest, StartResetsTheFrameClockAndPicksOneOfThreeStyles) {
    for (int i = 0; i < 50; ++i) {
        shellState.TransitionActive = false;
        shellState.TransitionCompleted = true;
        AdvanceVirtualClock(7);
        frameMs = 99;
        StartTransition(+1);
        EXPECT_GE(shellState.TransitionStyle, 0);
        EXPECT_LE(shellState.TransitionStyle, 2);
        EXPECT_FALSE(shellState.TransitionCompleted);
        EXPECT_EQ(frameMs, 1);
        EXPECT_EQ(Now, GetTickCount());
    }
}

using ChangeScreenTest = ShellTest;

TEST_F(ChangeScreenTest, SameStateChangesNothing) {
    ChangeScreen(kScreenPlay);
    shellState.TransitionCompleted = true;
    AdvanceVirtualClock(300);
    AdvanceFrameClock(); // Now = 1300, frameMs = 300
    AdvanceVirtualClock(25);

    ChangeScreen(kScreenPlay);
    EXPECT_TRUE(shellState.TransitionCompleted);
    EXPECT_EQ(Now, 1300);
    EXPECT_EQ(frameMs, 300);
    EXPECT_EQ(shellState.ScreenEnteredAt, 1000);

    ChangeScreen(kScreenTitle);
    shellState.FirstFrame = false;
    ChangeScreen(kScreenTitle);
    EXPECT_FALSE(shellState.FirstFrame);
}

TEST_F(ChangeScreenTest, EnteringAStateResetsClockAndTransitionFlag) {
    shellState.TransitionCompleted = true;
    AdvanceVirtualClock(200);
    AdvanceFrameClock(); // Now = 1200
    AdvanceVirtualClock(30);

    ChangeScreen(kScreenEnd);
    EXPECT_EQ(shellState.ScreenState, kScreenEnd);
    EXPECT_FALSE(shellState.TransitionCompleted);
    EXPECT_TRUE(shellState.FirstFrame);
    EXPECT_EQ(shellState.ScreenEnteredAt, 1200); // the frame's tick, before the reset
    EXPECT_EQ(Now, 1230);
    EXPECT_EQ(frameMs, 1);

    shellState.FirstFrame = false;
    ChangeScreen(kScreenPlay);
    EXPECT_FALSE(shellState.FirstFrame);
}

using MessageLineTest = ShellTest;

TEST_F(MessageLineTest, SecondMessageReplacesAndRestarts) {
    ShowStatusMessage("MUSIC ON");
    frameMs = 4000;
    EXPECT_TRUE(UpdateMessageLine());
    EXPECT_EQ(shellState.MessageRemaining, 6000);

    ShowStatusMessage("MUSIC OFF");
    EXPECT_EQ(shellState.MessageText, "MUSIC OFF");
    EXPECT_EQ(shellState.MessageRemaining, 10000);
    EXPECT_TRUE(shellState.MessageShown);
}

TEST_F(MessageLineTest, ExpiringMessageIsDrawnOnceMore) {
    ShowStatusMessage("LEVEL RESTARTED");
    frameMs = 10000;
    EXPECT_TRUE(UpdateMessageLine()); // exactly 0 left: still shown
    EXPECT_TRUE(shellState.MessageShown);
    frameMs = 1;
    EXPECT_TRUE(UpdateMessageLine()); // below 0: drawn in this frame, then gone
    EXPECT_FALSE(shellState.MessageShown);
    EXPECT_FALSE(UpdateMessageLine());
    EXPECT_EQ(shellState.MessageRemaining, -1);
}

TEST(FpsTextTest, RoundsToNearestAndSurvivesZeroMs) {
    EXPECT_EQ(FpsText(50), "FPS:20");
    EXPECT_EQ(FpsText(3), "FPS:333");
    EXPECT_EQ(FpsText(6), "FPS:167");
    EXPECT_EQ(FpsText(16), "FPS:62");  // 62.5: ties to even
    EXPECT_EQ(FpsText(80), "FPS:12");  // 12.5
    EXPECT_EQ(FpsText(400), "FPS:2");  // 2.5
    EXPECT_EQ(FpsText(2000), "FPS:0"); // 0.5
    EXPECT_EQ(FpsText(0), "FPS:1000");
    EXPECT_EQ(FpsText(-5), "FPS:1000");
}

using FrameStepTest = ShellTest;

TEST_F(FrameStepTest, LoadingFrameRunsNothingElse) {
    AdvanceVirtualClock(100);
    FrameStep();
    EXPECT_EQ(Now, 1000);
    EXPECT_EQ(frameMs, 1);
}

TEST_F(FrameStepTest, FramesWithinOneTickAndOverlayDoNotFail) {
    shellState.Initialised = true;
    shellState.ShowFps = true;
    shellState.DebugText = "x";
    FrameStep(); // no time passed: frameMs 0
    EXPECT_EQ(frameMs, 0);
    EXPECT_TRUE(shellState.DebugText.empty());
}

TEST_F(FrameStepTest, FramesDriveTransitionAndMessage) {
    shellState.Initialised = true;
    ChangeScreen(kScreenPlay);
    StartTransition(-1);
    ShowStatusMessage("3 LIVES LEFT");
    for (int i = 0; i < 17; ++i) {
        AdvanceVirtualClock(50);
        FrameStep();
    }
    EXPECT_FALSE(shellState.TransitionActive);
    EXPECT_EQ(shellState.MessageRemaining, 10000 - 17 * 50);
    EXPECT_EQ(frameMs, 50);
}

} // namespace
