// The controller in the game's dialogs (the input boxes, the message boxes
// and questions): A presses the focused button, or in a text field accepts
// the text shown (OK); B cancels (Cancel, No, or the box's only button);
// the direction pad moves the focus, up and left back, down and right on.
// A and B answer when let go, and only a press that began after the dialog
// was first seen counts: the press that opened the dialog does not answer
// it, and the game under it does not take the answering press as its own.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>

class QTimer;

class PadDialogs : public QObject {
  public:
    explicit PadDialogs(QObject* parent = nullptr);
    // One look at joystick 1, acting on the dialog open now (the timer's
    // work; called directly by tests).
    void Poll();

  private:
    QTimer* timer_ = nullptr;
    std::array<bool, 6> held_{};  // up, down, left, right, A, B
    std::array<bool, 6> armed_{}; // pressed since the dialog showed, still held
    QPointer<QWidget> dialog_;    // the dialog the last look found
};
