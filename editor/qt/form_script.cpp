#include "editor/qt/form_script.h"

#include "backends/qt/form_commands.h"
#include "editor/qt/editor_form.h"

bool RunFormCommand(TEditorForm& form, const FormCommand& command, std::string& error) {
    if (command.verb == FormVerb::Mouse) {
        form.SetMouse(QPoint(command.x, command.y), command.left, command.right);
        return true;
    }
    return RunSharedFormCommand(command, error);
}
