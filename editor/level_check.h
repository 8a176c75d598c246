// The checks made when a level is saved: things that make it unplayable or
// surprising in the game, listed as warnings without stopping the save.
#pragma once

#include <string>
#include <vector>

#include "editor/editor_state.h"

struct LevelWarning {
    std::string text;
    bool hasCell = false; // the cell inside the grid the warning is about
    CellPosition cell;
};

// Warnings for the level held in the world, in a fixed order: exit, start,
// sentries, music zones, ingot doors. Empty when nothing is wrong.
std::vector<LevelWarning> CheckLevelWarnings();
// Their texts only.
std::vector<std::string> CheckLevel();

// The warning as a list shows it: its cell first, "(x, y, z) text", when it
// has one.
std::string WarningLine(const LevelWarning& warning);
