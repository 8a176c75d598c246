// The level's own values, held beside the grid while a level is loaded or edited.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "media/music_list.h"

constexpr std::int32_t kUnusedMusicZone = -666;
constexpr int kMusicZoneCount = 256;

struct MusicZone {
    std::int32_t x = kUnusedMusicZone, y = 0, z = 0;
    std::int32_t music = 0;
    bool operator==(const MusicZone&) const = default;
};

struct LevelState {
    std::string definitionFile;
    std::int32_t startX = 0, startY = 0, startZ = 0, startHeading = 0;
    std::int32_t exitX = 0, exitY = 0, exitZ = 0;
    std::array<MusicZone, kMusicZoneCount> musicZones{};
    std::string description;
    std::string author;
    std::uint8_t outside = 0;
    std::int32_t randomSeed = 0;
    bool operator==(const LevelState&) const = default;
};

// The index of the music playing now, `currentMusic` (media/music_list.h): a
// level start sets it to -1 so that the first music zone entered starts its
// music.

// The level timer: running flag and the milliseconds left.
extern std::uint8_t timerRunning;
extern std::int32_t timeLeftMs;
