// The checks made when a level is saved: things that make it unplayable or
// surprising in the game, listed as warnings without stopping the save.
#pragma once

#include <string>
#include <vector>

// Warnings for the level held in the world, in a fixed order: exit, start,
// sentries, music zones, ingot doors. Empty when nothing is wrong.
std::vector<std::string> CheckLevel();
