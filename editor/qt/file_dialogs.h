// The editor's level file dialogs: "Level file (*.lev)", opened where
// LevelDialogPlacesFor says, with the level folders offered in the sidebar.
#pragma once

#include <optional>
#include <string>

class QWidget;

// The chosen file, or nothing on Cancel. Save adds ".lev" to a name typed
// without an extension and never asks itself before replacing a file (the
// command asks).
std::optional<std::string> RunLevelFileDialog(QWidget* parent, bool forSave);
