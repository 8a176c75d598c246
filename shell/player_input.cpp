#include "shell/player_input.h"

#include <algorithm>
#include <array>

#include "platform/keys.h"
#include "shell/control_bindings.h"
#include "shell/joystick.h"
#include "shell/keyboard.h"
#include "world/world.h"

namespace {

// Polled in this order: each poll also takes the key's pending press.
constexpr std::array<Control, kControlCount> kPollOrder = {kTurnLeft, kForward, kTurnRight, kBack,
                                                           kJump,     kLook,    kAction,    kMenu};

} // namespace

void ReadControls() {
    PlayerRecord& player = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    player.previousControls = player.controls;
    player.controls.fill(0);
    UpdateJoystick();
    // A controller plugged in after a start without one is taken up here.
    if (joystickState.JoystickAbsent) ReadJoystickCaps();
    for (const Control c : kPollOrder)
        player.controls[c] =
            KeyDown(controlBindings.keys[c]) || PadInputHeld(controlBindings.pad[c]) ? 1 : 0;
    // The keypad's camera keys, read on their own.
    player.previousCameraCloser = player.cameraCloser;
    player.previousCameraFarther = player.cameraFarther;
    player.cameraCloser = KeyDown(kVkAdd) ? 1 : 0;
    player.cameraFarther = KeyDown(kVkSubtract) ? 1 : 0;
}
