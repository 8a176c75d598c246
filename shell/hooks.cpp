#include "shell/hooks.h"

#include "engine/render_context.h"
#include "engine/scene.h"
#include "engine/stereo.h"
#include "engine/text.h"
#include "formats/definitions.h"
#include "platform/qt/presenter.h"
#include "shell/screen_form.h"
#include "world/in_game_menu.h"

namespace hooks {

void StartDisplayLayer() {}
void ReadJoystickCaps() {}
void ClearSoundAndMusicFlags() {}

void ForgetLoadedDefinitions() {
    ForgetDefinitions();
}
void CreateSoundOutput() {}
void StartMusicLibrary(int) {}
void LoadInterfaceSounds() {}
bool ReadSettings() {
    return true;
}
bool ReadEndScreenText() {
    return true;
}
void ReadNickname() {}

void ReadControls() {}
void HandleOptionKeys() {}
void PollMusic() {}
void RunTitleScreen() {}
void RunPlayScreen() {}
void RefreshLobby() {}
void RunEndScreen() {}
void DrawTransition(int level, int style) {
    ::DrawTransition(level, style);
}
void DrawSmallText(const std::string& text, float top, float left) {
    DrawText(text, false, top, left);
}
void PresentFrame(int, int) {
    // The picture is painted stretched to the client area by the form.
    if (!renderContext.mainBuffer.pixels.empty())
        ::PresentFrame(ScreenForm, renderContext.mainBuffer, ActiveStereoBuffer());
}

void StopVoices() {}
void CloseVideoClip() {}
void CloseInGameMenu() {
    inGameMenu.open = 0;
    inGameMenu.inputSkip = 0;
}
void OpenLobby() {}
void ResetCameraOrbits() {}
void StartLevel(int) {}

void NewGameClick() {}
void JoinGameClick() {}

void WriteSettings() {}
void PlayClickSound() {}
void StopMusic() {}
void ShutdownMusicLibrary() {}

} // namespace hooks
