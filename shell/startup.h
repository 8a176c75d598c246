// Program start-up, game initialisation, the level list and shutdown.
#pragma once

#include <optional>
#include <string>
#include <vector>

// True when the first argument, in upper case, is "/NETWORK".
bool IsNetworkStart(const std::vector<std::string>& arguments);

// Start-up of the shared modules, before the application and its window
// exist: the joystick and the world tables.
void StartUpSharedModules();

// The level files in "LEVEL\": every entry but "." and ".." and names shorter
// than two characters, sorted byte-wise, each as "LEVEL\" + name, at most
// 32768. nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> ListLevelFiles();

// Fills the shell's level list. On failure shows the message box
// ("GAME: Problem reading level files (LEVEL\ folder)." or "GAME: No level
// files (LEVEL\ folder).") and returns false: the program must end.
bool BuildLevelList();

// Game initialisation, in its order. Returns false when a start-up failure
// has been shown and the program must end (exit code 0, nothing written).
bool InitialiseGame();

// After initialisation: the title screen, or the first level of a network
// game, or with --level a new game on the level asked for (a number beyond
// the list ends the program with the bad-command-line code).
void EnterFirstScreen();

// Writes the settings, plays the click, stops music and clips, shuts the music
// library down and ends the program with exit code 0.
void ShutdownGame();
