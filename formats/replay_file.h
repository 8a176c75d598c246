// Replays (.kvr): one level played, as the program needs to play it again
// exactly: the level's path and digest, the program's version, the state the
// level started from, and each frame's tick, milliseconds and control flags.
//
// Layout (little-endian):
//   "KVR\x1a"  u16 format version (1)  u16 reserved (0)
//   u16 length + program version   u16 length + build revision
//   u16 length + level path        u32 low, u32 high of the level digest
//   i32 start tick  u32 random seed  i32 lives  f32 camera distance
//   f32 saved camera distance  i32 outcome (0 none, 2 won)  i32 level time ms
//   u32 frame count, then per frame: i32 tick, i32 frame ms, u16 control bits
//   u32 FNV-1a of every byte before it
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/loaded.h"

constexpr std::uint16_t kReplayFormatVersion = 1;
// Far above a level's play (about 12 hours at 10 ms a frame), far below
// what would strain memory.
constexpr std::uint32_t kReplayMaxFrames = 1u << 22;
constexpr std::size_t kReplayMaxText = 1024;
// The eight controls and the two camera keys.
constexpr int kReplayControlBits = 10;

struct ReplayFrame {
    std::int32_t tick = 0;    // the frame clock's tick (Now) of the frame
    std::int32_t frameMs = 0; // its milliseconds (frameMs)
    std::uint16_t controls = 0;
    bool operator==(const ReplayFrame&) const = default;
};

// What the world held when the level's first frame began.
struct ReplayStart {
    std::int32_t tick = 0;
    std::uint32_t randomSeed = 0;
    std::int32_t lives = 0;
    float cameraDistance = 0, savedCameraDistance = 0;
    bool operator==(const ReplayStart&) const = default;
};

constexpr std::int32_t kReplayOutcomeWon = 2;

struct Replay {
    std::string programVersion;
    std::string buildRevision;
    std::string levelPath; // as the game named it: relative to the data folder, or absolute
    std::uint64_t levelDigest = 0;
    ReplayStart start;
    std::int32_t outcome = 0;
    std::int32_t levelTimeMs = 0;
    std::vector<ReplayFrame> frames;
    bool operator==(const Replay&) const = default;
};

// The digest of a level file's bytes (64-bit FNV-1a): any changed cell
// changes it.
std::uint64_t LevelDigest(std::span<const std::uint8_t> bytes);
// As sixteen hexadecimal digits.
std::string DigestText(std::uint64_t digest);

std::vector<std::uint8_t> EncodeReplay(const Replay& replay);
// The replay in `bytes`; the error names `name` and what is wrong. Every
// size is checked against the bytes present, and the checksum at the end
// against the bytes before it.
Loaded<Replay> DecodeReplay(std::span<const std::uint8_t> bytes, const std::string& name);
// Reads and decodes a file (at most 64 MiB).
Loaded<Replay> ReadReplayFile(const std::string& file);

// Whether the running program and the level's bytes are the ones the replay
// was recorded with: empty when they are, else the message that refuses it.
std::string ReplayMismatch(const Replay& replay, const std::string& programVersion,
                           std::uint64_t levelDigest);
