// The commands on the whole level: New with its three prompts, Load, Save and
// Save as, the level's description, author, number of sentries and random
// seed, and the question before unsaved changes are dropped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The largest grid New makes: two layers of this many cells stay well within
// memory; anything larger is "Not enough memory." as a refused allocation.
constexpr std::int64_t kMaxEditorCells = std::int64_t{1} << 26;

// The editor's first level: 100 x 100 x 100, selector in the middle, outside.
void StartEditorLevel();

// A new level's random seed, 0..32766, from the editor's own sequence
// (editor.newLevelSeeds, seeded at start-up). Initialising the sentries seeds
// the shared generator with the level's seed, so drawing from that one would
// give every new level a seed fixed by the level before (0 after start-up).
std::int32_t DrawNewLevelSeed();

// Makes a fresh X x Y x Z grid (0 counts as 1) filled as a new map, or 20 x
// 20 x 20 with "Not enough memory." when it cannot be had. The level's other
// values are those of a new map; texts, outside flag and sentries stay.
void MakeNewLevel(std::int32_t sizeX, std::int32_t sizeY, std::int32_t sizeZ);

// "Save changes to <name>?" when the level is modified: true when the caller
// may go on (saved, or the changes dropped), false on Cancel or a failed save.
bool ConfirmDiscardChanges();

// True when a new level was made.
bool NewLevelCommand();
void LoadLevelCommand();
// Loads a level file into the editor and puts it first in the Recent files.
// A missing or damaged file, or one whose definition file cannot be read,
// shows "The file <path> is missing or invalid." and changes nothing.
bool LoadEditorLevel(const std::string& path);
// Loads an autosaved level as the file `originalName` (empty: untitled) with
// unsaved changes.
bool RestoreEditorLevel(const std::string& file, const std::string& originalName);
// A Recent files entry: a file gone since is said and dropped from the list.
void OpenRecentCommand(const std::string& path);

// The level file a first argument that is not an option names (as a desktop
// launcher passes the file to open), made absolute against the current
// folder; empty when the first argument is an option or there is none.
std::string LevelFileArgument(const std::vector<std::string>& arguments);

// The level's file bytes as Save writes them.
std::vector<std::uint8_t> EncodeEditorLevel();
// Writes the level, the file it replaces kept as "<path>.bak" first; on
// failure shows why and keeps the current name and the file as it was.
// Afterwards the warnings of CheckLevel are kept, the autosave is removed and
// the file goes first in the Recent files.
bool SaveEditorLevel(const std::string& path);
// Asks for a file; one that exists is replaced only when the question
// "The file <path> already exists. Replace it?" is answered Yes (No asks for
// another file, Cancel ends the command).
bool SaveAsCommand();
// Saves to the current file, or asks for one when there is none.
bool SaveCommand();

void LevelDescriptionCommand();
void LevelAuthorCommand();
void NumberOfSentriesCommand();
void RandomSeedCommand();

// The caption of the window: "Kelvane - Level Editor", and " - " and the file name when
// there is one.
std::string EditorCaption();
