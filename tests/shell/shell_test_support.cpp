#include "shell/shell_test_support.h"

#include <cstdlib>

#include "engine/stereo.h"
#include "formats/definitions.h"
#include "media/display.h"
#include "media/sound_output.h"
#include "platform/clock.h"
#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/control_bindings.h"
#include "shell/controls_screen.h"
#include "shell/end_moment.h"
#include "shell/help_panel.h"
#include "shell/joystick.h"
#include "shell/level_select.h"
#include "shell/practice_game.h"
#include "shell/replay_run.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"

void ShellTest::SetUp() {
    shellState = ShellState{};
    endMoment = EndMoment{};
    levelPlayMs = 0;
    helpPanel = HelpPanelState{};
    ConfigureAutomation(GameOptions{});
    UseVirtualClock(1000);
    Now = 1000;
    frameMs = 1;
    ResetKeys();
    InstallJoystickDevice(nullptr);
    joystickState = JoystickState{};
    SetMixVolumes(MixVolumes{});
    controlBindings = DefaultControlBindings();
    controlsScreen = ControlsScreenState{};
    levelSelect = LevelSelectState{};
    practiceGame = PracticeGame{};
    StereoOff();
    DisplayStartup();
    SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
    if (const char* home = std::getenv("XDG_CONFIG_HOME")) savedConfigHome_ = home;
    userConfig = std::make_unique<TempDir>();
    setenv("XDG_CONFIG_HOME", userConfig->path().c_str(), 1);
    if (const char* home = std::getenv("XDG_DATA_HOME")) savedDataHome_ = home;
    userData = std::make_unique<TempDir>();
    setenv("XDG_DATA_HOME", userData->path().c_str(), 1);
    ResetReplays();
}

void ShellTest::TearDown() {
    SetMessageBoxHandler(nullptr);
    UseRealClock();
    ResetKeys();
    InstallJoystickDevice(nullptr);
    if (savedConfigHome_)
        setenv("XDG_CONFIG_HOME", savedConfigHome_->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    userConfig.reset();
    ResetReplays();
    if (savedDataHome_)
        setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    userData.reset();
}

void ShellDataTest::SetUp() {
    ShellTest::SetUp();
    inData_.emplace(std::string(KELVANE_BINARY_DIR) + "/data");
    ForgetDefinitions();
    shellState.Drawing = false;
}

void ShellDataTest::TearDown() {
    inData_.reset();
    ShellTest::TearDown();
}
