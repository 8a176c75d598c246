// The per-user data folder of the game (replays, best times):
// $XDG_DATA_HOME/kelvane, or ~/.local/share/kelvane.
#pragma once

#include <string>

// Empty when neither XDG_DATA_HOME nor HOME is an absolute path: then
// nothing is kept.
std::string UserDataFolder();
