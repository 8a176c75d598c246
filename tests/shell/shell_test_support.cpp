#include "shell/shell_test_support.h"

#include "platform/clock.h"
#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/joystick.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"

void ShellTest::SetUp() {
    shellState = ShellState{};
    ConfigureAutomation(AutomationOptions{});
    UseVirtualClock(1000);
    Now = 1000;
    frameMs = 1;
    ResetKeys();
    InstallJoystickDevice(nullptr);
    joystickState = JoystickState{};
    SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
}

void ShellTest::TearDown() {
    SetMessageBoxHandler(nullptr);
    UseRealClock();
    ResetKeys();
    InstallJoystickDevice(nullptr);
}
