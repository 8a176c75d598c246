#include "shell/frame_step.h"

#include "shell/form_services.h"
#include "shell/hooks.h"
#include "shell/net_session.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"

namespace {
constexpr float kTextLeft = 0.01f;
constexpr float kMessageTop = 0.01f;
constexpr float kFpsTop = 0.04f;
} // namespace

void RunCurrentScreen() {
    switch (shellState.ScreenState) {
    case kScreenTitle:
        hooks::RunTitleScreen();
        break;
    case kScreenPlay:
        hooks::RunPlayScreen();
        break;
    case kScreenLobby:
        hooks::RefreshLobby();
        break;
    case kScreenEnd:
        hooks::RunEndScreen();
        break;
    default:
        break;
    }
}

void FrameStep() {
    ShellState& s = shellState;
    if (s.NetworkLobby) {
        hooks::RefreshLobby();
        return;
    }
    if (!s.Initialised) {
        ShowLoadingScreen();
        return;
    }
    hooks::ReadControls();
    hooks::HandleOptionKeys();
    hooks::PollMusic();
    AdvanceFrameClock();
    DispatchNetEvents(); // what the other players sent since the last frame
    RunCurrentScreen();

    if (s.TransitionActive) {
        hooks::DrawTransition(s.TransitionLevel, s.TransitionStyle);
        StepTransition();
    }
    if (UpdateMessageLine()) hooks::DrawSmallText(s.MessageText, kMessageTop, kTextLeft);
    if (s.ShowFps) hooks::DrawSmallText(FpsText(frameMs), kFpsTop, kTextLeft);
    if (!s.DebugText.empty()) {
        hooks::DrawSmallText("DEBUG String:" + s.DebugText, kMessageTop, kTextLeft);
        s.DebugText.clear();
    }
    if (!s.VideoPlaying) hooks::PresentFrame(FormClientWidth(), FormClientHeight());
}
