// A level start: a level as plain data (what the level file holds, read by
// formats/level_file.h or built by a tool) made the current level, and the
// resets that go with it. The ingots are counted here, once per start.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "world/level_state.h"

constexpr int kMaxLevelSentries = 255; // sentry slots 1..255

struct LevelSentry {
    float x = 0, y = 0, z = 0; // world position
    float heading = 0;         // angle units
    bool operator==(const LevelSentry&) const = default;
};

// A level as stored in the file.
struct LevelData {
    LevelState state; // definition file, start, exit, music zones, texts, outside, seed
    std::int32_t sizeX = 0, sizeY = 0, sizeZ = 0;
    std::vector<std::uint8_t> cells;      // object type per cell, x fastest, then y, then z
    std::vector<std::uint8_t> brightness; // same order
    std::vector<LevelSentry> sentries;    // record k goes to sentry slot k + 1
};

// Makes `level` the current level: grid (layers shorter than the grid are
// padded with zeros, longer ones cut), level state, sentries, player records,
// world lists, exit, music index, level timer, random seed and sentry start
// state; then counts the ingots on the grid. `loadTypes`, when given, runs
// once the level is in place and before the count: a level that brings its
// own object types has its ingots counted with them. False, with nothing
// changed and `loadTypes` not run, when the grid cannot be allocated.
bool ApplyLevel(const LevelData& level, const std::function<void()>& loadTypes = {});

// Resets every player record at the start cell for a new level (lives and
// level index are carried over), empties the world lists and lets the exit
// count again.
void ResetPlayersForLevel(int startX, int startY, int startZ, int startHeading);

// Counts the cells of each ingot type on the grid afresh.
void RecountIngots();

// Empties the hole and sliding-block lists and frees the transition slots.
void ClearWorldLists();
