// A coarse, cell-level model of where the hero can get in a level: walking,
// falling, jumping up one cell, ladders, springs, digging down, pushing, and
// the doors that levers, ingots and key blocks open. It leaves out timing,
// sentries and jumps across gaps; a block pushed out of the way is taken as
// gone, and a sensor door counts as open when enough key blocks exist and
// one is within reach.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>

#include "formats/level_file.h"
#include "platform/profile.h"

struct WalkType {
    bool defined = false;
    bool collision = true, death = false;
    bool ladder = false, spring = false, dig = false, lever = false, door = false;
    bool lingot = false, blockKey = false, canPush = false;
    int leverDoor = 0, lingotDoor = 0, blockKeySensor = 0, blockSensorDoor = 0;
    // Directions a ladder is climbed in (its box leaves room in front).
    bool climbPlusX = false, climbMinusX = false, climbPlusZ = false, climbMinusZ = false;
};

using WalkTypes = std::array<WalkType, 256>;

WalkTypes ReadWalkTypes(const ProfileData& definitions);

using WalkCell = std::tuple<int, int, int>; // x, y, z

struct WalkResult {
    std::set<WalkCell> reached; // cells the hero can stand in
    std::set<int> openedDoors;  // door types opened on the way
};

// With `doorsOpen` false no door ever opens.
WalkResult WalkLevel(const LevelData& level, const WalkTypes& types, bool doorsOpen = true);
