// A practice game: one level set chosen from the level select, played from a
// chosen level with three lives, each win leading to the set's next playable
// level. The level list is the set's for the length of the game and the
// campaign's again once the title comes back; the saved game stays the
// campaign's.
#pragma once

#include <string>
#include <vector>

#include "formats/level_catalogue.h"

struct PracticeGame {
    bool active = false;
    std::string setTitle;
    std::vector<std::string> campaignFiles; // the level list to restore
};

extern PracticeGame practiceGame;

// Starts the practice game on `set`'s level `level` (which must be playable;
// the set's levels that cannot be played are left out of the list). False
// when nothing started: the level list is then the campaign's again.
bool StartPracticeGame(const LevelSet& set, int level);

// Back to the campaign's level list; nothing when no practice game runs.
void EndPracticeGame();
