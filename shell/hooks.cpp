#include "shell/hooks.h"

namespace hooks {

void StartDisplayLayer() {}
void ReadJoystickCaps() {}
void ClearSoundAndMusicFlags() {}

void ForgetLoadedDefinitions() {}
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
void DrawTransition(int, int) {}
void DrawSmallText(const std::string&, float, float) {}
void PresentFrame(int, int) {}

void StopVoices() {}
void CloseVideoClip() {}
void CloseInGameMenu() {}
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
