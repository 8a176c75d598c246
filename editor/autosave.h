// The autosave: after every two minutes during which the level has had
// unsaved changes, the level is written to the user's state folder
// ($XDG_STATE_HOME/kelvane/autosave, else ~/.local/state/kelvane/autosave)
// as "kelvedit-<process>.lev", with the name of the file being edited
// beside it in "kelvedit-<process>.name". A clean save or a clean exit
// removes both; a copy whose editor is no longer running is offered back at
// the next start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

constexpr std::int64_t kAutosaveIntervalMs = 2 * 60 * 1000;

// The state folder's autosave folder; empty when no home is known.
std::string DefaultAutosaveFolder();

// This editor's autosave file in editor.autosaveFolder (empty without one).
std::string AutosaveFile();

// Counts the frame's milliseconds while the level is modified (a clean level
// starts the count again) and writes the autosave when two minutes are full.
void AutosaveTick(std::int64_t elapsedMs);

// Writes the level and the edited file's name now; false (said once a
// session) when they cannot be written.
bool WriteAutosave();

// Removes this editor's autosave, when there is one, and restarts the count.
void RemoveAutosave();

struct AutosaveLeftover {
    std::string file;     // the autosaved level
    std::string original; // the file that was being edited, or empty
};

// The newest autosave left by an editor that is not running any more.
std::optional<AutosaveLeftover> FindAutosaveLeftover();

// Asks whether to restore a leftover autosave. Yes loads it as the level
// being edited (under its original name, with unsaved changes) and removes
// the leftover; No removes it; Cancel keeps it for the next start. False
// when there was nothing to offer.
bool OfferAutosaveLeftover();
