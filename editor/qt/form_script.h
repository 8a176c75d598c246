// Runs a script's form commands on the editor's windows: menu items, icons
// and buttons, drop-down choices and the mouse by their object names, and the
// answers queued for the prompts and file dialogs to come.
#pragma once

#include <string>

#include "platform/automation.h"

class TEditorForm;

// SELECT on a text box types its text into it.
// Runs one command; false with the reason in `error` when the named
// component is not there, is hidden or disabled, or lacks the item.
bool RunFormCommand(TEditorForm& form, const FormCommand& command, std::string& error);
