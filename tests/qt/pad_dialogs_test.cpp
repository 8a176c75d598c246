// The controller in the game's dialogs: A answers OK (the text shown) or
// presses the focused button, B cancels, the direction pad moves the focus;
// a press held from before the dialog opened does not answer it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/automation.h"
#include "platform/joystick.h"
#include "platform/script_joystick.h"
#include "qt/qt_test_support.h"
#include "shell/qt/pad_dialogs.h"
#include "shell/shell_test_support.h"

namespace {

class PadDialogsTest : public ShellTest {
  protected:
    void SetUp() override {
        EnsureQtApplication();
        ShellTest::SetUp();
        UseScriptJoystick();
    }
    void TearDown() override {
        InstallJoystickDevice(nullptr);
        ShellTest::TearDown();
    }
    // A press and its release, each seen by one look at the controller.
    void press(ScriptPadInput input) {
        HoldScriptPad(1u << input);
        pad.Poll();
        HoldScriptPad(0);
        pad.Poll();
    }
    // Shows `dialog` as the game's prompts are shown, and lets the
    // controller see it once with nothing held.
    void openModal(QDialog& dialog) {
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        QApplication::processEvents();
        pad.Poll();
    }

    PadDialogs pad;
};

TEST_F(PadDialogsTest, AAcceptsTheTextShownAndBCancels) {
    HoldScriptPad(1u << kScriptPadA); // the press that opened the box
    QInputDialog nickname;
    nickname.setTextValue("Ann");
    openModal(nickname);
    pad.Poll();
    EXPECT_TRUE(nickname.isVisible());
    HoldScriptPad(0);
    pad.Poll();
    press(kScriptPadA);
    EXPECT_FALSE(nickname.isVisible());
    EXPECT_EQ(nickname.result(), QDialog::Accepted);
    EXPECT_EQ(nickname.textValue(), "Ann");

    QInputDialog address;
    openModal(address);
    press(kScriptPadB);
    EXPECT_FALSE(address.isVisible());
    EXPECT_EQ(address.result(), QDialog::Rejected);

    press(kScriptPadA); // no dialog: nothing to answer, nothing breaks
}

TEST_F(PadDialogsTest, TheDirectionPadMovesBetweenYesAndNo) {
    QMessageBox question(QMessageBox::Question, "Kelvane", "Leave the game?",
                         QMessageBox::Yes | QMessageBox::No);
    question.setDefaultButton(QMessageBox::Yes);
    openModal(question);
    question.button(QMessageBox::Yes)->setFocus();
    press(kScriptPadDown);
    EXPECT_EQ(question.focusWidget(), question.button(QMessageBox::No));
    press(kScriptPadUp);
    EXPECT_EQ(question.focusWidget(), question.button(QMessageBox::Yes));
    press(kScriptPadRight);
    press(kScriptPadA);
    EXPECT_FALSE(question.isVisible());
    EXPECT_EQ(question.clickedButton(), question.button(QMessageBox::No));

    QMessageBox again(QMessageBox::Question, "Kelvane", "Leave the game?",
                      QMessageBox::Yes | QMessageBox::No);
    openModal(again);
    press(kScriptPadB);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(again.clickedButton(), again.button(QMessageBox::No));
}

} // namespace
