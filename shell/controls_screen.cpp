#include "shell/controls_screen.h"

#include <algorithm>
#include <string>

#include "draw/pipeline.h"
#include "draw/text.h"
#include "media/sound_output.h"
#include "platform/keys.h"
#include "platform/text_case.h"
#include "shell/control_bindings.h"
#include "shell/settings.h"
#include "shell/sounds.h"

ControlsScreenState controlsScreen;

namespace {

constexpr int kVolumeStep = 10;
constexpr int kPadInputCount = 8;

PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

bool pressed(Control c) {
    return localRecord().controls[c] && !controlsScreen.previous[c];
}

void rememberHeld() {
    ControlsScreenState& t = controlsScreen;
    for (int vk = 0; vk < kVirtualKeyCount; ++vk) {
        QueryKey(vk); // a tap before the wait is not the answer
        t.keysHeld[vk] = KeyIsDown(vk);
    }
    for (int i = 0; i < kPadInputCount; ++i) t.padHeld[i] = PadInputHeld(static_cast<PadInput>(i));
}

// Binds the first key or controller input pressed since the wait began;
// Escape cancels. True once the wait is over.
bool takeNewPress() {
    ControlsScreenState& t = controlsScreen;
    const auto control = static_cast<Control>(t.selected);
    for (int vk = 0; vk < kVirtualKeyCount; ++vk) {
        const bool down = QueryKey(vk);
        if (down && !t.keysHeld[vk] && !VirtualKeyName(vk).empty()) {
            if (vk != kVkEscape) controlBindings.keys[control] = vk;
            return true;
        }
        t.keysHeld[vk] = down;
    }
    for (int i = 0; i < kPadInputCount; ++i) {
        const auto input = static_cast<PadInput>(i);
        const bool held = PadInputHeld(input);
        if (held && !t.padHeld[i]) {
            controlBindings.pad[control] = input;
            return true;
        }
        t.padHeld[i] = held;
    }
    return false;
}

void changeVolume(int by) {
    MixVolumes v = CurrentMixVolumes();
    (controlsScreen.selected == kRowMusicVolume ? v.music : v.effects) += by;
    SetMixVolumes(v);
    PlayClickSound();
}

void close() {
    controlsScreen.open = false;
    controlsScreen.releasing = true;
    WriteControlsAndSound();
}

void pick() {
    ControlsScreenState& t = controlsScreen;
    PlayChoiceSound();
    if (t.selected < kControlCount) {
        t.waiting = true;
        rememberHeld();
    } else if (t.selected == kRowReset) {
        controlBindings = DefaultControlBindings();
        SetMixVolumes(MixVolumes{});
    } else if (t.selected == kRowBack) {
        close();
    }
}

std::string rowText(int row) {
    if (row < kControlCount) {
        const auto c = static_cast<Control>(row);
        return UpperAscii(ControlName(c)) + "  " + VirtualKeyName(controlBindings.keys[c]) +
               "  PAD " + PadInputName(controlBindings.pad[c]);
    }
    if (row == kRowMusicVolume) return "MUSIC VOLUME  " + std::to_string(CurrentMixVolumes().music);
    if (row == kRowEffectsVolume)
        return "EFFECTS VOLUME  " + std::to_string(CurrentMixVolumes().effects);
    if (row == kRowReset) return "RESET TO DEFAULTS";
    return "BACK";
}

} // namespace

void OpenControlsScreen() {
    controlsScreen = ControlsScreenState{};
    controlsScreen.open = true;
    controlsScreen.previous = localRecord().controls;
    PlayChoiceSound();
}

bool ControlsScreenUpdate() {
    ControlsScreenState& t = controlsScreen;
    const auto& controls = localRecord().controls;
    if (t.releasing) {
        t.releasing = std::any_of(controls.begin(), controls.end(), [](auto c) { return c != 0; });
        return t.releasing;
    }
    if (!t.open) return false;
    if (t.waiting) {
        if (takeNewPress()) t.waiting = false;
    } else if (pressed(kMenu)) {
        PlayChoiceSound();
        close();
    } else if (pressed(kForward) || pressed(kBack)) {
        const int step = pressed(kForward) ? kControlsRowCount - 1 : 1;
        t.selected = (t.selected + step) % kControlsRowCount;
        PlayClickSound();
    } else if ((pressed(kTurnLeft) || pressed(kTurnRight)) &&
               (t.selected == kRowMusicVolume || t.selected == kRowEffectsVolume)) {
        changeVolume(pressed(kTurnLeft) ? -kVolumeStep : kVolumeStep);
    } else if (pressed(kJump) || pressed(kAction)) {
        pick();
    }
    t.previous = localRecord().controls;
    return true;
}

void DrawControlsScreen() {
    const ControlsScreenState& t = controlsScreen;
    ClearFrame(0);
    const std::string title = "CONTROLS AND SOUND";
    DrawText(title, true, 0.06, 0.5 - TextWidth(title, true) / 2);
    for (int row = 0; row < kControlsRowCount; ++row) {
        std::string text = rowText(row);
        if (row == t.selected) text = (t.waiting ? "PRESS A KEY FOR " : "> ") + text;
        DrawText(text, false, 0.18 + 0.06 * row, 0.12);
    }
}
