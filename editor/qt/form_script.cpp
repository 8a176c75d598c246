#include "editor/qt/form_script.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>

#include "editor/qt/editor_form.h"
#include "platform/script_answers.h"

namespace {

// The first component of that name in any of the program's windows (the
// help window's buttons are not the editor form's children).
template <typename T> T* findComponent(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (T* found = window->findChild<T*>(name)) return found;
    return nullptr;
}

// A user reaches only what is shown and enabled.
bool reachable(QWidget* widget) {
    return widget->isEnabled() && widget->isVisible();
}

} // namespace

bool RunFormCommand(TEditorForm& form, const FormCommand& command, std::string& error) {
    const QString name = QString::fromStdString(command.target);
    switch (command.verb) {
    case FormVerb::Menu: {
        QAction* action = findComponent<QAction>(name);
        if (!action || !action->isEnabled()) {
            error = "no menu item '" + command.target + "'";
            return false;
        }
        action->trigger();
        return true;
    }
    case FormVerb::Click: {
        QAbstractButton* button = findComponent<QAbstractButton>(name);
        if (!button || !reachable(button)) {
            error = "no button '" + command.target + "' shown";
            return false;
        }
        button->click();
        return true;
    }
    case FormVerb::Select: {
        QComboBox* box = findComponent<QComboBox>(name);
        if (!box || !reachable(box)) {
            error = "no drop-down list '" + command.target + "' shown";
            return false;
        }
        const QString text = QString::fromStdString(command.text);
        const int index = box->findText(text, Qt::MatchExactly);
        if (index < 0) {
            error = "'" + command.target + "' has no item '" + command.text + "'";
            return false;
        }
        box->setCurrentIndex(index);
        emit box->activated(index);
        emit box->textActivated(text);
        return true;
    }
    case FormVerb::Answer:
        QueueScriptAnswer(AnswerQueue::Prompt, {command.cancel, command.text});
        return true;
    case FormVerb::File:
        QueueScriptAnswer(AnswerQueue::File, {command.cancel, command.text});
        return true;
    case FormVerb::Mouse:
        form.SetMouse(QPoint(command.x, command.y), command.left, command.right);
        return true;
    }
    return false;
}
