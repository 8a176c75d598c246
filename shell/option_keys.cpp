#include "shell/option_keys.h"

#include <string>

#include "engine/stereo.h"
#include "formats/definitions.h"
#include "media/music_player.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/text_case.h"
#include "shell/display_options.h"
#include "shell/form_services.h"
#include "shell/help_panel.h"
#include "shell/keyboard.h"
#include "shell/screen_flow.h"
#include "shell/screenshot_key.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

constexpr int kMusicVolumeOn = 63;

void nextStereoMode() {
    ShellState& s = shellState;
    s.StereoMode = static_cast<std::uint8_t>((s.StereoMode + 1) % 3);
    StereoOff();
    if (s.StereoMode == 1) {
        StereoOn(kRedBlueEyeA.red, kRedBlueEyeA.green, kRedBlueEyeA.blue, kStereoEyeShift,
                 kRedBlueEyeB.blue, kRedBlueEyeB.green, kRedBlueEyeB.red);
        ShowStatusMessage("STEREOSCOPIC RED/BLUE MODE");
    } else if (s.StereoMode == 2) {
        StereoOn(kRedGreenEyeA.red, kRedGreenEyeA.green, kRedGreenEyeA.blue, kStereoEyeShift,
                 kRedGreenEyeB.blue, kRedGreenEyeB.green, kRedGreenEyeB.red);
        ShowStatusMessage("STEREOSCOPIC RED/GREEN MODE");
    } else {
        ShowStatusMessage("STEREOSCOPIC MODE OFF");
    }
}

void nextPictureSize() {
    const bool wasFullScreen = IsFullScreen();
    if (wasFullScreen) GoWindowed();
    const PictureSize size = NextPictureSize(CurrentPictureSize().height);
    SetPictureSize(size);
    // 160 x 120 is always shown in the window.
    if (wasFullScreen && size.height > kPictureSizes[0].height) GoFullScreen();
    ShowStatusMessage("RESOLUTION " + std::to_string(size.width) + "x" +
                      std::to_string(size.height));
}

// The definition file in place is read again at the other detail; the first
// load of the run (or none at all) means the standard file.
void switchTextureDetail() {
    ShellState& s = shellState;
    const bool texturesOn = EqualNoCase(s.TextureDetail, "High");
    const std::string detail = texturesOn ? "Low" : "High";
    std::string file = LoadedDefinitionFile();
    if (file.empty()) file = kDefinitionFile;
    const Loaded<> loaded = LoadDefinitions(file, detail);
    if (!loaded) {
        ShowMessageBox(loaded.error);
        RequestProgramEnd(0);
        return;
    }
    s.TextureDetail = detail;
    ApplyPicturePalette();
    ShowStatusMessage(texturesOn ? "TEXTURE MODE OFF" : "TEXTURE MODE ON");
}

void switchScreenMode() {
    if (IsFullScreen())
        GoWindowed();
    else
        GoFullScreen();
    ResetFrameClock();
    // A picture too narrow for full screen, or a switch that failed, leaves
    // the window: the message says what the player sees.
    ShowStatusMessage(IsFullScreen() ? "FULLSCREEN MODE" : "WINDOW MODE");
}

} // namespace

void HandleOptionKeys() {
    ShellState& s = shellState;
    if (s.VideoPlaying) return;
    const bool remotePlayers = lastPlayer > 0;
    if (KeyDown(kVkF8)) {
        PlayChoiceSound();
        nextStereoMode();
    }
    if (KeyDown(kVkF9)) s.ShowFps = !s.ShowFps;
    if (KeyDown(kVkF10) && remotePlayers)
        ShowStatusMessage("Network refresh interval: " + std::to_string(s.RefreshInterval) + " ms");
    if (KeyDown(kVkF11) && !remotePlayers) {
        s.ExclusiveMode = !s.ExclusiveMode;
        ShowStatusMessage(s.ExclusiveMode ? "EXCLUSIVE MODE ON" : "EXCLUSIVE MODE OFF");
    }
    if (KeyDown(kVkF7)) {
        PlayChoiceSound();
        s.MusicOn = !s.MusicOn;
        SetMusicVolume(s.MusicOn ? kMusicVolumeOn : 0);
        ShowStatusMessage(s.MusicOn ? "MUSIC ON" : "MUSIC OFF");
    }
    if (HelpKey(KeyDown(kVkF1))) PlayChoiceSound();
    if (KeyDown(kVkF4)) {
        PlayChoiceSound();
        nextPictureSize();
    }
    if (KeyDown(kVkF5)) {
        PlayChoiceSound();
        switchTextureDetail();
        if (s.EndRequested) return;
    }
    if (KeyDown(kVkF6)) {
        PlayChoiceSound();
        switchScreenMode();
    }
    if (KeyDown(kVkF12)) SaveScreenshot();
}
