// The editor's own settings that outlive a session, kept in kelvedit.ini of
// the per-user configuration folder: how far the level view reaches.
#pragma once

#include <string>

// The settings file; empty when no per-user folder is known (nothing kept).
std::string EditorSettingsFile();

// The stored view distance (kViewDistances), 8 when none is stored or the
// stored value is not one offered.
int ReadViewDistanceSetting();
// Stores it; false when the file cannot be written.
bool StoreViewDistanceSetting(int cells);
