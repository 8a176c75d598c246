#include "editor/qt/form_script.h"

#include "editor/qt/editor_form.h"
#include "platform/qt/form_commands.h"

bool RunFormCommand(TEditorForm& form, const FormCommand& command, std::string& error) {
    if (command.verb == FormVerb::Mouse) {
        form.SetMouse(QPoint(command.x, command.y), command.left, command.right);
        return true;
    }
    return RunSharedFormCommand(command, error);
}
