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
    // The camera keys, read on their own: + and - on the keypad or on the main
    // row (= and -). Both keys of a pair are polled, so that neither keeps a
    // pending press for a later frame.
    player.previousCameraCloser = player.cameraCloser;
    player.previousCameraFarther = player.cameraFarther;
    const bool keypadCloser = KeyDown(kVkAdd), rowCloser = KeyDown(kVkOemPlus);
    const bool keypadFarther = KeyDown(kVkSubtract), rowFarther = KeyDown(kVkOemMinus);
    player.cameraCloser = keypadCloser || rowCloser ? 1 : 0;
    player.cameraFarther = keypadFarther || rowFarther ? 1 : 0;
}
