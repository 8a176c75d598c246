// Options, Level: the level's kind (outdoor with its sky, or indoor) and its
// random seed in one dialog.
#pragma once

#include <optional>
#include <string>

#include "editor/level_properties.h"

class QWidget;

// Shows the dialog with the current values; the answer as the command reads
// it ("Indoor 1234"), or nullopt on Cancel.
std::optional<std::string> ShowLevelPropertiesDialog(QWidget* parent,
                                                     const LevelProperties& current);
