#include "shell/frame_step.h"

#include "draw/scene.h"
#include "draw/text.h"
#include "engine/render_context.h"
#include "engine/stereo.h"
#include "media/music_player.h"
#include "shell/end_screen.h"
#include "shell/form_services.h"
#include "shell/help_panel.h"
#include "shell/lobby.h"
#include "shell/net_session.h"
#include "shell/option_keys.h"
#include "shell/play_screen.h"
#include "shell/player_input.h"
#include "shell/replay_run.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/title_screen.h"
#include "world/frame_clock.h"
#include "world/sound_listener.h"

namespace {

constexpr float kTextLeft = 0.01f;
constexpr float kMessageTop = 0.01f;
constexpr float kFpsTop = 0.04f;

void drawSmallText(const std::string& text, float top) {
    DrawText(text, false, top, kTextLeft);
}

// The picture is painted stretched to the client area by the form.
void presentFrame() {
    if (!shellState.Drawing || renderContext.mainBuffer.pixels.empty()) return;
    PresentPicture(renderContext.mainBuffer, ActiveStereoBuffer());
}

} // namespace

FramePicture UpdateFrame() {
    ShellState& s = shellState;
    FramePicture picture;
    switch (s.ScreenState) {
    case kScreenTitle:
        if (TitleScreenUpdate()) picture.screen = kScreenTitle;
        break;
    case kScreenPlay:
        if (PlayScreenUpdate()) picture.screen = kScreenPlay;
        break;
    case kScreenLobby:
        LobbyRefresh();
        break;
    case kScreenEnd:
        if (EndScreenUpdate()) picture.screen = kScreenEnd;
        break;
    default:
        break;
    }
    // The transition is drawn where it stands, then steps for the next frame.
    if (s.TransitionActive) {
        picture.transitionLevel = s.TransitionLevel;
        picture.transitionStyle = s.TransitionStyle;
        StepTransition();
    }
    picture.help = UpdateHelpPanel();
    if (UpdateMessageLine()) picture.message = s.MessageText;
    if (s.ShowFps) picture.fps = FpsText(frameMs);
    if (!s.DebugText.empty()) {
        picture.debug = "DEBUG String:" + s.DebugText;
        s.DebugText.clear();
    }
    return picture;
}

void DrawFrame(const FramePicture& picture) {
    switch (picture.screen) {
    case kScreenTitle:
        DrawTitleScreen();
        break;
    case kScreenPlay:
        DrawPlayScreen();
        break;
    case kScreenEnd:
        DrawEndScreen();
        break;
    default:
        break;
    }
    DrawTransition(picture.transitionLevel, picture.transitionStyle);
    if (picture.help) DrawHelpPanel();
    if (picture.message) drawSmallText(*picture.message, kMessageTop);
    if (!picture.fps.empty()) drawSmallText(picture.fps, kFpsTop);
    if (!picture.debug.empty()) drawSmallText(picture.debug, kMessageTop);
}

void FrameStep() {
    ShellState& s = shellState;
    if (s.NetworkLobby) {
        LobbyRefresh();
        return;
    }
    if (!s.Initialised) {
        ShowLoadingScreen();
        return;
    }
    // Input, music and the clock.
    ReadControls();
    HandleOptionKeys();
    PollMusic();
    AdvanceFrameClock();
    // A replay records, or plays back, the play frames' clock and controls.
    if (s.ScreenState == kScreenPlay) ReplayFrameInput();
    DispatchNetEvents(); // what the other players sent since the last frame
    // The screen's frame (on the play screen the world's, ending in
    // UpdateLocalView), the transition and the text lines.
    const FramePicture picture = UpdateFrame();
    // The voices follow the listener the frame placed.
    VoicesFollowListener();
    // Drawing reads what the updates left.
    if (s.Drawing) DrawFrame(picture);
    if (!s.VideoPlaying) presentFrame();
}
