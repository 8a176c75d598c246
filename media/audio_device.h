// The seam between the sound output and the window system's audio device.
// The device asks for frames on its own thread; the sound output answers from
// its mixer. Without an opener installed (tests, tools, headless runs) no
// device ever opens.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// Fills `frames` frames of 16-bit stereo samples at 44100 Hz.
using AudioPull = std::function<void(std::int16_t* stereo, int frames)>;

// An open device; closing it (destroying) stops the pulls before it returns.
class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
};

// Opens the default output device pulling from `pull`; null when there is none.
using AudioDeviceOpener = std::function<std::unique_ptr<AudioDevice>(AudioPull pull)>;

void InstallAudioDeviceOpener(AudioDeviceOpener opener);
