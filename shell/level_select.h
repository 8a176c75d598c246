// The level select over the title: the campaign and every set of the user's
// levels folder (loose levels, packs), each level with its name, author,
// whether it was won and its best time. The campaign's levels open as they
// are won (the first always; all with [Game] UnlockAllLevels in kelv.ini),
// the other sets are open; what cannot be read is listed dimmed with its
// reason. Driven by the controls, as the controls page is: forward and back
// move, left and right go to the previous or next set, jump or action
// starts a practice game on the level, the menu control goes back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/level_catalogue.h"
#include "formats/records_file.h"
#include "world/world.h"

// One row of the list: a set's own row (level -1) or one of its levels.
struct LevelSelectEntry {
    int set = 0;
    int level = -1;
    std::string setTitle;
    std::string name;   // the level's; empty on a set's own row
    std::string author; // the level's, else the set's
    bool won = false;
    std::int32_t bestMs = -1; // -1 when none
    // Empty when it can be played, "locked", or why it cannot be read.
    std::string status;
};

struct LevelSelectState {
    bool open = false;
    bool releasing = false;    // closed, until every control is let go
    std::int32_t selected = 0; // the entry chosen or under the cursor
    std::int32_t top = 0;      // the first entry shown
    bool chosen = false;       // the title's closing transition runs toward it
    std::vector<LevelSet> sets;
    std::vector<LevelSelectEntry> entries;
    std::array<std::uint8_t, kControlCount> previous{};
};

extern LevelSelectState levelSelect;

// The rows for `sets`, with the won levels and best times of `times`. A
// campaign level is open when all are, when it is the first, the one after
// a won one, won itself, or not beyond `savedLevel` (the saved game's).
std::vector<LevelSelectEntry> LevelSelectEntries(const std::vector<LevelSet>& sets,
                                                 const BestTimes& times, bool unlockAll,
                                                 std::int32_t savedLevel);

// The entry as the state dump shows it: set|name|author|won|best ms|status.
std::string LevelSelectEntryText(const LevelSelectEntry& entry);

// Reads the catalogue anew and opens the list on the first level that can
// be played; what is held now counts as read.
void OpenLevelSelect();
// One frame of the open list. False when it is not open and no control held
// when it closed is still held (the title then takes its input).
bool LevelSelectUpdate();
void DrawLevelSelect();
