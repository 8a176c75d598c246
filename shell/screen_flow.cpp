#include "shell/screen_flow.h"

#include <algorithm>

#include "media/music_player.h"
#include "media/sound_output.h"
#include "platform/clock.h"
#include "shell/automation_run.h"
#include "shell/end_screen.h"
#include "shell/form_services.h"
#include "shell/lobby.h"
#include "shell/replay_run.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"
#include "world/in_game_menu.h"
#include "world/random.h"

void ChangeScreen(std::int32_t state) {
    ShellState& s = shellState;
    if (state == s.ScreenState) return;
    s.TransitionCompleted = false;
    if (state != kScreenPlay) FinishLevelRecording();
    s.ScreenState = state;
    if (s.ScreenHistory.size() >= kScreenHistoryLength)
        s.ScreenHistory.erase(s.ScreenHistory.begin());
    s.ScreenHistory.push_back({state, FramesRun()});
    StopVoices();
    if (s.VideoPlaying) CloseClip();
    s.ScreenEnteredAt = Now;
    SetCommPanelVisible(false);
    switch (state) {
    case kScreenTitle:
        s.FirstFrame = true;
        // What the message line said ("0 LIVES LEFT") belonged to the game.
        s.MessageShown = false;
        s.MessageText.clear();
        break;
    case kScreenPlay:
        CloseInGameMenu();
        break;
    case kScreenLobby:
        OpenNetworkLobby();
        break;
    case kScreenEnd:
        s.FirstFrame = true;
        ResetCameraOrbits();
        break;
    default:
        break;
    }
    ResetFrameClock();
}

void StartTransition(std::int32_t direction) {
    ShellState& s = shellState;
    if (s.TransitionActive) return;
    s.TransitionActive = true;
    s.TransitionLevel = direction < 0 ? kTransitionCovered : 0;
    s.TransitionDirection = direction;
    s.TransitionStyle = RandomInt(3);
    s.TransitionCompleted = false;
    s.TransitionLastStep = GetTickCount();
    ResetFrameClock();
}

void StepTransition() {
    ShellState& s = shellState;
    const std::int32_t elapsed = TickDifference(s.TransitionLastStep, Now);
    if (elapsed <= kTransitionStepMs) return;
    // A long frame still shows the transition: it moves at most 3 steps.
    const std::int32_t steps = std::min(elapsed / kTransitionStepMs, kTransitionMaxSteps);
    s.TransitionLevel += s.TransitionDirection * steps;
    s.TransitionLastStep = Now;
    if (s.TransitionLevel < 0 || s.TransitionLevel > kTransitionCovered) s.TransitionActive = false;
    if (s.TransitionLevel > kTransitionCovered) s.TransitionCompleted = true;
    if (s.TransitionCompleted && s.VideoPlaying) CloseClip();
}

void ShowStatusMessage(const std::string& text) {
    shellState.MessageShown = true;
    shellState.MessageText = text;
    shellState.MessageRemaining = kMessageDurationMs;
}

bool UpdateMessageLine() {
    ShellState& s = shellState;
    if (!s.MessageShown) return false;
    s.MessageRemaining -= frameMs;
    if (s.MessageRemaining < 0) s.MessageShown = false;
    return true;
}

std::string FpsText(std::int32_t ms) {
    const std::int32_t divisor = std::max<std::int32_t>(ms, 1);
    std::int32_t fps = 1000 / divisor;
    const std::int32_t twiceRest = 2 * (1000 % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && fps % 2 != 0)) ++fps;
    return "FPS:" + std::to_string(fps);
}
