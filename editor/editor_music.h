// The editor's sound: the sound output and the music library started as the
// game starts them, and the music box's Play and Stop.
#pragma once

#include <string>

// Creates the sound output (on the device the window system installed, or
// silent; for an audio capture when `capture`) and starts the music library
// at 22050 Hz. Once at start-up.
void StartEditorSound(bool capture);
// Stops the music and shuts the library and the output down.
void StopEditorSound();

// Plays the last music-list entry whose display name is `name`; false when
// there is none.
bool PlayMusicNamed(const std::string& name);
