// The sound output: one device, the sound buffers and 256 positional voices.
// While the output is not ready (no device, or not created yet) every
// operation does nothing.
#pragma once

#include <string>

class TSoundBuffer;

bool SoundOutputReady();

// Replaces the sound held by `sound` with one made from the wave file.
void LoadSound(const std::string& fileName, TSoundBuffer*& sound);
