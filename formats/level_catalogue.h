// The levels a player can choose from: the campaign (the data folder's level
// list) and, in the user's levels folder, the loose levels (one set of their
// own) and the level packs, one sub-folder each. A pack holds level files
// (*.lev), optionally a pack.ini (name, author, play order) and its own
// definition file under the data folder's name, which its levels then use
// in place of the data folder's. Whatever cannot be read is kept in the
// catalogue with the reason, so that it can be shown and skipped.
#pragma once

#include <string>
#include <vector>

// The most packs and loose levels taken from the levels folder, and the most
// levels of one set: far above any real collection, a bound for a hostile one.
constexpr std::size_t kCatalogueMaxPacks = 500;
constexpr std::size_t kCatalogueMaxLevels = 1000;

struct CatalogueLevel {
    std::string path;    // the file to play
    std::string name;    // LevelDisplayName of the file
    std::string author;  // from the level file
    std::string problem; // why it cannot be played; empty when it can
};

enum LevelSetKind { kSetCampaign, kSetLoose, kSetPack };

struct LevelSet {
    LevelSetKind kind = kSetPack;
    std::string title;   // the pack's name, else its folder's name
    std::string author;  // the pack's author; empty when not given
    std::string folder;  // empty for the campaign
    std::string problem; // why none of the set can be played; empty when it can
    std::vector<CatalogueLevel> levels;
};

// A level's name as lists show it: its description up to the first colon,
// trimmed; the file name without its extension when that leaves nothing.
std::string LevelDisplayName(const std::string& description, const std::string& path);

// Reads one level file for the catalogue (name, author, or the problem).
CatalogueLevel ReadCatalogueLevel(const std::string& path);

// The campaign's set from the level list, in its order.
LevelSet CampaignSet(const std::vector<std::string>& files);

// One pack folder: its pack.ini, definitions and levels.
LevelSet ReadLevelPack(const std::string& folder);

// The levels folder: the loose levels (a set only when there are some, in
// file-name order) and then its packs in folder-name order. Nothing when the
// folder is missing or cannot be listed.
std::vector<LevelSet> ScanLevelsFolder(const std::string& folder);

// The definition file a level outside the data folder uses in place of the
// data folder's: kDefinitionFile (any case) in the level's own folder. Empty
// for a level inside the data folder and when its folder holds none.
std::string OwnDefinitionFile(const std::string& levelPath);

// The first playable level of `set` at or after `from`; -1 when none is.
int NextPlayableLevel(const LevelSet& set, int from);
