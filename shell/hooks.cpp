#include "shell/hooks.h"

#include "draw/scene.h"
#include "draw/text.h"
#include "engine/render_context.h"
#include "engine/stereo.h"
#include "formats/definitions.h"
#include "media/music_player.h"
#include "media/sound_output.h"
#include "shell/end_screen.h"
#include "shell/end_text.h"
#include "shell/form_services.h"
#include "shell/joystick.h"
#include "shell/lobby.h"
#include "shell/music.h"
#include "shell/option_keys.h"
#include "shell/play_screen.h"
#include "shell/player_input.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "shell/title_screen.h"
#include "world/world.h"

namespace hooks {

void StartDisplayLayer() {}
void ReadJoystickCaps() {
    ::ReadJoystickCaps();
}
void ClearSoundAndMusicFlags() {}

void ForgetLoadedDefinitions() {
    ForgetDefinitions();
}
void CreateSoundOutput() {
    StartSoundOutput();
}
void StartMusicLibrary() {
    StartGameMusicLibrary();
}
void LoadInterfaceSounds() {
    ::LoadInterfaceSounds();
}
bool ReadSettings() {
    return ::ReadSettings();
}
bool ReadEndScreenText() {
    return ReadEndText();
}
void ReadNickname() {
    ::ReadNickname();
}

void ReadControls() {
    ::ReadControls();
}
void HandleOptionKeys() {
    ::HandleOptionKeys();
}
void PlayChoiceSound() {
    ::PlayChoiceSound();
}
void SetMusicVolume(int volume) {
    ::SetMusicVolume(volume);
}
void PollMusic() {
    ::PollMusic();
}
void StartMusic(int entry) {
    ::StartMusic(entry);
}
void RunTitleScreen() {
    TitleScreenFrame();
}
void RunPlayScreen() {
    PlayScreenFrame();
}
void RefreshLobby() {
    LobbyRefresh();
}
void RunEndScreen() {
    EndScreenFrame();
}
void DrawTransition(int level, int style) {
    if (shellState.Drawing) ::DrawTransition(level, style);
}
void DrawSmallText(const std::string& text, float top, float left) {
    if (!shellState.Drawing) return;
    DrawText(text, false, top, left);
}
void PresentFrame(int, int) {
    if (!shellState.Drawing) return;
    // The picture is painted stretched to the client area by the form.
    if (!renderContext.mainBuffer.pixels.empty())
        PresentPicture(renderContext.mainBuffer, ActiveStereoBuffer());
}

void StopVoices() {
    ::StopVoices();
}
void CloseVideoClip() {
    CloseClip();
}
void CloseInGameMenu() {
    world.menu.open = 0;
    world.menu.inputSkip = 0;
}
void OpenLobby() {
    OpenNetworkLobby();
}
void ResetCameraOrbits() {
    ::ResetCameraOrbits();
}
void StartLevel(int levelIndex) {
    ::StartLevel(levelIndex);
}

void NewGameClick() {
    ::NewGameClick();
}
void JoinGameClick() {
    ::JoinGameClick();
}

void WriteSettings() {
    ::WriteSettings();
}
void PlayClickSound() {
    ::PlayClickSound();
}
void StopMusic() {
    ::StopMusic();
}
void ShutdownMusicLibrary() {
    ::ShutdownMusicLibrary();
}

} // namespace hooks
