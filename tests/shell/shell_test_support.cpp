#include "shell/shell_test_support.h"

#include <QApplication>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"

void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}

void ShellTest::SetUp() {
    EnsureQtApplication();
    shellState = ShellState{};
    ConfigureAutomation(AutomationOptions{});
    UseVirtualClock(1000);
    Now = 1000;
    frameMs = 1;
    ResetKeys();
    SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
}

void ShellTest::TearDown() {
    SetMessageBoxHandler(nullptr);
    UseRealClock();
    ResetKeys();
}
