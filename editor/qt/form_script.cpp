#include "editor/qt/form_script.h"

#include <QLineEdit>

#include "backends/qt/form_commands.h"
#include "editor/qt/editor_form.h"

bool RunFormCommand(TEditorForm& form, const FormCommand& command, std::string& error) {
    if (command.verb == FormVerb::Mouse) {
        form.SetMouse(QPoint(command.x, command.y), command.left, command.right);
        return true;
    }
    // SELECT on a text box (the object search) types the text into it.
    if (command.verb == FormVerb::Select) {
        auto* box = form.findChild<QLineEdit*>(QString::fromStdString(command.target));
        if (box && box->isVisible() && box->isEnabled()) {
            box->setText(QString::fromStdString(command.text));
            return true;
        }
    }
    return RunSharedFormCommand(command, error);
}
