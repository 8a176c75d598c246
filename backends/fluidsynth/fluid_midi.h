// MIDI files over libfluidsynth: the sequencer's decoder of the music
// devices, with the TimGM6mb soundfont unless KELVANE_SOUNDFONT names another.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/music_bus.h"

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The soundfont in use: $KELVANE_SOUNDFONT when set and not empty, else the default.
std::string SoundFontPath();

// A MIDI file from its bytes, played once at the device rate and timed by
// the samples rendered (the same output on every run); after its end the
// synthesizer's tails, then silence. Null without the soundfont or when
// fluidsynth refuses the file. fluidsynth's own messages stay off.
std::unique_ptr<MusicStream> FluidMidi(const std::vector<std::uint8_t>& file);
