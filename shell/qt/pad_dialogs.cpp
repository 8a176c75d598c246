#include "shell/qt/pad_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include "platform/joystick.h"
#include "shell/control_bindings.h"
#include "shell/joystick.h"

namespace {

// Dialogs run their own event loop, which the game loop may be waiting in:
// the controller is looked at on a timer of its own.
constexpr int kPollMs = 16;

enum DialogInput { kUp, kDown, kLeft, kRight, kA, kB, kDialogInputCount };

constexpr std::array<PadInput, kDialogInputCount> kInputs = {
    PadInput::Up, PadInput::Down, PadInput::Left, PadInput::Right, PadInput::A, PadInput::B};

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(target, &release);
}

} // namespace

PadDialogs::PadDialogs(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &PadDialogs::Poll);
    timer_->start();
}

void PadDialogs::Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    // The game loop reads the device in its frames; while a dialog holds
    // them up, the device's events are taken here.
    if (dialog) {
        UpdateJoystick();
        if (joystickState.JoystickAbsent) ReadJoystickCaps();
    }
    std::array<bool, kDialogInputCount> pressed{}, released{};
    for (int i = 0; i < kDialogInputCount; ++i) {
        const bool now = PadInputHeld(kInputs[i]);
        pressed[i] = now && !held_[i];
        released[i] = !now && held_[i] && armed_[i];
        held_[i] = now;
        armed_[i] = (armed_[i] || pressed[i]) && now;
    }
    // What is held when a dialog first shows was pressed before it.
    if (dialog != dialog_) {
        dialog_ = dialog;
        armed_ = {};
        return;
    }
    if (!dialog) return;
    QWidget* focus = dialog->focusWidget();
    if (!focus) focus = dialog;
    // A and B answer when let go, so that the game under the closed dialog
    // does not take the same press for its own.
    if (released[kA]) {
        if (auto* button = qobject_cast<QAbstractButton*>(focus)) {
            button->click();
        } else {
            sendKey(focus, Qt::Key_Return); // the default button: OK with the text shown
        }
    } else if (released[kB]) {
        sendKey(focus, Qt::Key_Escape);
    } else if (pressed[kUp] || pressed[kLeft]) {
        sendKey(focus, Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (pressed[kDown] || pressed[kRight]) {
        sendKey(focus, Qt::Key_Tab);
    }
}
