// The shell's calls into the game's other parts: input, screens, sound,
// music, settings, text, scene and display. Each is one function here whose
// body (usually one call, in hooks.cpp) reaches the part.
#pragma once

#include <string>

namespace hooks {

// Start-up of the shared modules.
void StartDisplayLayer();       // off-screen picture, window mode on
void ReadJoystickCaps();        // joystick 1, read once
void ClearSoundAndMusicFlags(); // no sound device, no music library yet

// Game initialisation. Hooks returning bool return false after they have
// shown a start-up failure; the program then ends.
void ForgetLoadedDefinitions(); // the next level start reads its definition file
void CreateSoundOutput();
void StartMusicLibrary();
void LoadInterfaceSounds(); // choice, click and countdown sounds
bool ReadSettings();        // window, resolution, texture detail (loads definitions), full screen
bool ReadEndScreenText();   // "game.dat"
void ReadNickname();        // network start only

// Frame step.
void ReadControls();
void HandleOptionKeys();
void PlayChoiceSound();          // "INTERF\CHOIX.WAV", once
void SetMusicVolume(int volume); // 0..63
void PollMusic();
void StartMusic(int entry); // an entry of the music list (title 0, end screen 1)
void RunTitleScreen();
void RunPlayScreen();
void RefreshLobby();
void RunEndScreen();
void DrawTransition(int level, int style);
void DrawSmallText(const std::string& text, float top, float left);
void PresentFrame(int clientWidth, int clientHeight);

// Screen changes.
void StopVoices(); // every playing voice; interface sounds are not affected
void CloseVideoClip();
void CloseInGameMenu(); // and zero its input delay
void OpenLobby();
void ResetCameraOrbits(); // player records 0..lastPlayer, for the end screen
void StartLevel(int levelIndex);

// Network lobby buttons.
void NewGameClick();
void JoinGameClick();

// Shutdown.
void WriteSettings();
void PlayClickSound();
void StopMusic();
void ShutdownMusicLibrary();

} // namespace hooks
