// The world's state as "key=value" lines, for the state dumps of the game and
// of the tools that run levels, so that two runs can be compared line by line.
#pragma once

#include <cstdint>
#include <string>

// Local player, menu, timer, ingots, world lists, sentries, the random
// generator, the grid (a hash and the first cells changed since the level was
// loaded) and the last events.
std::string DescribeWorldState();

// FNV-1a of the grid's cells.
std::uint64_t GridHash();
