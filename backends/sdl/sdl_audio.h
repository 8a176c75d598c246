// The audio output device over SDL2 (no video): the default device, opened
// for 44100 Hz 16-bit stereo (SDL converts when the device differs), whose
// callback pulls from the sound output's mixer.
#pragma once

// Installs the opener the sound output uses when it is created. Call it
// before the window system starts (SDL's signal handlers stay off).
void InstallSdlAudio();

// Closes SDL's audio subsystem; the sound output must be closed first.
void StopSdlAudio();
