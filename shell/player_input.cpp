#include "shell/player_input.h"

#include <algorithm>
#include <array>

#include "platform/keys.h"
#include "shell/keyboard.h"
#include "world/world.h"

namespace {

struct ControlKey {
    Control control;
    int key;
};

// Polled in this order: each poll also takes the key's pending press.
constexpr std::array<ControlKey, kControlCount> kControlKeys = {{
    {kTurnLeft, kVkLeft},
    {kForward, kVkUp},
    {kTurnRight, kVkRight},
    {kBack, kVkDown},
    {kJump, kVkSpace},
    {kLook, kVkControl},
    {kAction, kVkShift},
    {kMenu, kVkEscape},
}};

} // namespace

void ReadControls() {
    PlayerRecord& player = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    player.previousControls = player.controls;
    player.controls.fill(0);
    for (const ControlKey& k : kControlKeys) player.controls[k.control] = KeyDown(k.key) ? 1 : 0;
    // The keypad's camera keys, read on their own.
    player.previousCameraCloser = player.cameraCloser;
    player.previousCameraFarther = player.cameraFarther;
    player.cameraCloser = KeyDown(kVkAdd) ? 1 : 0;
    player.cameraFarther = KeyDown(kVkSubtract) ? 1 : 0;
}
