// The level file (.lev): the grid's two byte layers, the start and exit cells,
// the music zones, description, author, outside flag, the sentries with the
// random seed, and the name of the definition file the level uses. Binary,
// little-endian, no magic number; both programs share the one reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/loaded.h"
#include "world/level_start.h"

// Offsets and sizes of the fixed parts of the file.
constexpr std::size_t kLevelHeaderSize = 296;      // name, sizes, start, heading, exit
constexpr std::size_t kShortStringSize = 256;      // length byte + up to 255 characters
constexpr std::size_t kMusicZoneRecordSize = 16;   // x, y, z, music index
constexpr std::size_t kLevelSentryRecordSize = 16; // x, y, z, heading as reals
constexpr std::size_t kLevelFixedSize = 4913;      // everything but the layers and sentries

// The definition file's name as the editor writes it into every level:
// kDefinitionFile in upper case.
std::string EditorDefinitionFile();

// The cell count X*Y*Z for positive sizes whose product fits in 32 bits.
std::optional<std::int64_t> LevelCellCount(std::int32_t x, std::int32_t y, std::int32_t z);

// The file's meaningful length: 4913 + 2N + 16S.
std::uint64_t LevelFileSize(std::int64_t cellCount, std::int64_t sentryCount);

// Bytes to record. Refuses (nullopt) data shorter than its fields claim,
// sizes of zero or below or whose product overflows, a sentry count outside
// 0..255 and sentry records that are not finite numbers.
// Bytes after the last sentry record are ignored.
std::optional<LevelData> ParseLevel(const std::uint8_t* data, std::size_t size);

// Record to bytes, exactly the meaningful length. Strings longer than 255
// characters are cut; at most 255 sentries are written.
std::vector<std::uint8_t> EncodeLevel(const LevelData& level);

// "The file <path> is missing or invalid."
std::string LevelErrorText(const std::string& path);

// Reads and parses a level file without touching the world. Only the bytes
// the file's sizes call for are read: a tail past the last sentry record
// costs nothing. The error, when it is missing, unreadable or refused, is
// LevelErrorText(path).
Loaded<LevelData> ReadLevelFile(const std::string& path);

// The level held in memory as the editor saves it (definition file
// EditorDefinitionFile()). A level is made current by ApplyLevel
// (world/level_start.h).
LevelData CurrentLevel();

enum LevelLoadResult {
    kLevelLoaded,
    kLevelRefused,           // missing or invalid file: nothing changed
    kLevelDefinitionsFailed, // the level is in place but its definitions failed to load
};

struct LevelLoad {
    LevelLoadResult result = kLevelRefused;
    // The text for the caller to show: when refused, "The file <path> is
    // missing or invalid."; when the definitions failed, their "VX3: ..." text.
    std::string error;
    // The definitions were the level's own (OwnDefinitionFile), not the data folder's.
    bool ownDefinitions = false;
};

// Loads a level into the world, then its definitions with `detail` ("High"
// or "Low"), and counts its ingots with the types those bring. A level naming
// kDefinitionFile whose folder holds its own (OwnDefinitionFile) takes that
// one. A missing or refused file changes nothing. When the definitions fail
// the level is in place but the caller must not play it: the data folder's
// own definitions failing ends the program, a pack's sends the player back.
LevelLoad LoadLevel(const std::string& path, const std::string& detail);

// Writes `bytes` at the start of the file, creating it when missing; a longer
// existing file keeps its bytes past the new end. Through a fresh temporary
// file, as WriteFileStart.
bool WriteLevelBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Saves the level held in memory; false when the file cannot be written.
bool SaveLevel(const std::string& path);
