// The script's form commands that act the same on every program's windows:
// menu items, buttons and lists found by their object names, and the answers
// queued for the prompts and file dialogs to come. What only one window
// knows (the editor's mouse) stays with that window.
#pragma once

#include <string>

#include "platform/automation.h"

// Runs MENU, CLICK, SELECT, ANSWER and FILE; false with the reason in `error`
// when the named component is not there, is hidden or disabled, or lacks the
// item. SELECT chooses a drop-down list's item or a list box's row by its
// exact text (the first of equal texts). MOUSE is not run here: false.
bool RunSharedFormCommand(const FormCommand& command, std::string& error);
