// The play screen: entering a level, and the frame that drives it (the
// world's half of the frame, the level's end, the picture).
#pragma once

#include <cstdint>

// Loads level `levelIndex` of the level list into the world and enters the
// play screen with an opening transition. A refused level file shows its
// message and goes back to the title; definitions that fail to load show
// their message and end the program.
void StartLevel(std::int32_t levelIndex);

constexpr std::int32_t kNewGameLives = 3;

// A new game: `levelIndex` of the list with three lives.
void StartNewGame(std::int32_t levelIndex);

// The play screen's update (screen state 1): the player's state to the others,
// the world's frame and the timer's countdown tick. False when the world's
// frame stopped early (the level ended, the game is over, a clip plays):
// nothing is drawn then.
bool PlayScreenUpdate();

// The play picture and the head-up bar; reads only.
void DrawPlayScreen();

// Gives the world the play screen's services: level restart and end, the
// message line, the running transition.
void InstallPlayServices();
