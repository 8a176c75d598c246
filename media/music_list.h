// The music list: 256 pieces (module, MIDI file, CD track or wave file), each
// with a display name, an optional video clip and a loop flag. Music zones of
// a level and the title and end screens choose from it by index.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kMusicListSize = 256;

struct MusicEntry {
    std::string file; // empty: silent
    std::string name; // display name
    std::string clip; // video clip, may be empty
    std::uint8_t loop = 0;
};

extern std::array<MusicEntry, kMusicListSize> musicList;

// Index of the music playing now, -1 when none.
extern std::int32_t currentMusic;
// Loop flag of the music playing now.
extern std::uint8_t currentMusicLoops;
