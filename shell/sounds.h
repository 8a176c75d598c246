// The game's sounds: the sound output of the run, the three interface sounds,
// the sound requests of the world, and the audio capture of --record-audio.
#pragma once

#include <cstdint>

#include "world/game_services.h"

// Creates the sound output: for a capture when the run records its audio
// (no device), else on the device the window system installed (none in
// headless runs: silent, without a message). Sets the game's hearing range
// and installs the world's sound services (heard from the world's listener).
void StartSoundOutput();
// The same for a run that draws nothing and plays no device (kelvane-sim):
// voices start, play out and end as in the game, but nothing is mixed.
void StartListeningSoundOutput();

// "INTERF\CHOIX.WAV", "INTERF\CLIC.WAV", "INTERF\TIMER.WAV". A malformed
// file is said in a message box and stays silent.
void LoadInterfaceSounds();

// The interface sounds, played once at their own volume.
void PlayChoiceSound();
void PlayClickSound();
void PlayCountdownSound();
// The in-game menu's and the camera keys' sounds: select is the choice
// sound, move the click sound.
void PlayGameInterfaceSound(InterfaceSound sound);

// After each frame of a recording run: pulls the frame's worth of sound
// (frameMs of the virtual clock, else of the real one) from the mixer;
// the frames captured so far are CapturedAudioFrames (media/audio_capture.h).
void CaptureFrameSound();
