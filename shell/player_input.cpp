#include "shell/player_input.h"

#include <algorithm>
#include <array>

#include "platform/joystick.h"
#include "platform/keys.h"
#include "shell/joystick.h"
#include "shell/keyboard.h"
#include "world/world.h"

namespace {

struct ControlKey {
    Control control;
    int key;
    bool (*joystick)(); // asked only when the key is not down
};

// Polled in this order: each poll also takes the key's pending press.
constexpr std::array<ControlKey, kControlCount> kControlKeys = {{
    {kTurnLeft, kVkLeft, JoyLeft},
    {kForward, kVkUp, JoyUp},
    {kTurnRight, kVkRight, JoyRight},
    {kBack, kVkDown, JoyDown},
    {kJump, kVkSpace, [] { return JoyButton(1); }},
    {kLook, kVkControl, [] { return JoyButton(2); }},
    {kAction, kVkShift, [] { return JoyButton(3); }},
    {kMenu, kVkEscape, [] { return JoyButton(4); }},
}};

} // namespace

void ReadControls() {
    PlayerRecord& player = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    player.previousControls = player.controls;
    player.controls.fill(0);
    UpdateJoystick();
    for (const ControlKey& k : kControlKeys)
        player.controls[k.control] = KeyDown(k.key) || k.joystick() ? 1 : 0;
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
