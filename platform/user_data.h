// The per-user folders of the programs, after the XDG variables: a variable
// counts only when it holds an absolute path, else the usual place under
// $HOME is taken.
#pragma once

#include <string>

// $VARIABLE, or $HOME/underHome; empty when neither is an absolute path.
std::string UserFolder(const char* variable, const char* underHome);

// $XDG_DATA_HOME/kelvane or ~/.local/share/kelvane (replays, best times);
// empty when nothing is known: then nothing is kept.
std::string UserDataFolder();

// <user data>/levels: the player's own levels and level packs; empty when
// there is no user data folder.
std::string UserLevelsFolder();

// $XDG_CONFIG_HOME/kelvane or ~/.config/kelvane (settings, controller
// mappings); empty when nothing is known.
std::string UserConfigFolder();
