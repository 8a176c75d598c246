#include "backends/qt/form_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>

#include "platform/script_answers.h"

namespace {

// The first component of that name in any of the program's windows (the
// editor's help window is not the main form's child).
template <typename T> T* findComponent(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (T* found = window->findChild<T*>(name)) return found;
    return nullptr;
}

// A user reaches only what is shown and enabled.
bool reachable(QWidget* widget) {
    return widget->isEnabled() && widget->isVisible();
}

bool selectItem(const FormCommand& command, std::string& error) {
    const QString name = QString::fromStdString(command.target);
    const QString text = QString::fromStdString(command.text);
    if (QComboBox* box = findComponent<QComboBox>(name); box && reachable(box)) {
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
    if (QListWidget* list = findComponent<QListWidget>(name); list && reachable(list)) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        if (found.isEmpty()) {
            error = "'" + command.target + "' has no item '" + command.text + "'";
            return false;
        }
        QListWidgetItem* first = found.front();
        for (QListWidgetItem* item : found)
            if (list->row(item) < list->row(first)) first = item;
        list->setCurrentItem(first);
        emit list->itemClicked(first);
        return true;
    }
    error = "no list '" + command.target + "' shown";
    return false;
}

} // namespace

bool RunSharedFormCommand(const FormCommand& command, std::string& error) {
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
    case FormVerb::Select:
        return selectItem(command, error);
    case FormVerb::Answer:
        QueueScriptAnswer(AnswerQueue::Prompt, {command.cancel, command.text});
        return true;
    case FormVerb::SaveAnswer:
        QueueScriptAnswer(AnswerQueue::SaveChanges, {command.cancel, command.text});
        return true;
    case FormVerb::File:
        QueueScriptAnswer(AnswerQueue::File, {command.cancel, command.text});
        return true;
    case FormVerb::Mouse:
        break;
    }
    error = "this window takes no F MOUSE";
    return false;
}
