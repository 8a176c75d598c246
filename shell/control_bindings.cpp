#include "shell/control_bindings.h"

#include <cstdlib>

#include "platform/keys.h"
#include "platform/text_case.h"
#include "platform/user_data.h"
#include "shell/joystick.h"

namespace {

constexpr std::array<const char*, kControlCount> kControlNames = {
    "Forward", "Back", "Left", "Right", "Jump", "Look", "Action", "Menu"};
constexpr std::array<const char*, 8> kPadNames = {"UP", "DOWN", "LEFT", "RIGHT",
                                                  "A",  "B",    "X",    "Y"};

} // namespace

ControlBindings controlBindings = DefaultControlBindings();

ControlBindings DefaultControlBindings() {
    ControlBindings b;
    b.keys[kForward] = kVkUp;
    b.keys[kBack] = kVkDown;
    b.keys[kTurnLeft] = kVkLeft;
    b.keys[kTurnRight] = kVkRight;
    b.keys[kJump] = kVkSpace;
    b.keys[kLook] = kVkControl;
    b.keys[kAction] = kVkShift;
    b.keys[kMenu] = kVkEscape;
    b.pad = {PadInput::Up, PadInput::Down, PadInput::Left, PadInput::Right,
             PadInput::A,  PadInput::B,    PadInput::X,    PadInput::Y};
    return b;
}

const char* ControlName(Control control) {
    return control >= 0 && control < kControlCount ? kControlNames[control] : "";
}

const char* PadInputName(PadInput input) {
    return kPadNames[static_cast<std::size_t>(input)];
}

std::optional<PadInput> PadInputFromName(std::string_view name) {
    const std::string upper = UpperAscii(std::string(name));
    for (std::size_t i = 0; i < kPadNames.size(); ++i)
        if (upper == kPadNames[i]) return static_cast<PadInput>(i);
    return std::nullopt;
}

ControlBindings ReadControlBindings(const ProfileData& profile,
                                    std::vector<std::string>& complaints) {
    ControlBindings b = DefaultControlBindings();
    for (int c = 0; c < kControlCount; ++c) {
        const std::string name = kControlNames[c];
        const std::string key = ProfileString(profile, "Controls", name, "");
        if (!key.empty()) {
            if (const auto vk = VirtualKeyFromName(key))
                b.keys[c] = *vk;
            else
                complaints.push_back("kelv.ini: [Controls] " + name + "=" + key +
                                     ": no such key; " + VirtualKeyName(b.keys[c]) + " kept");
        }
        const std::string pad = ProfileString(profile, "Controls", "Pad" + name, "");
        if (!pad.empty()) {
            if (const auto input = PadInputFromName(pad))
                b.pad[c] = *input;
            else
                complaints.push_back("kelv.ini: [Controls] Pad" + name + "=" + pad +
                                     ": no such controller input; " + PadInputName(b.pad[c]) +
                                     " kept");
        }
    }
    return b;
}

std::vector<ProfileEntry> ControlBindingEntries(const ControlBindings& bindings) {
    std::vector<ProfileEntry> entries;
    for (int c = 0; c < kControlCount; ++c)
        entries.push_back({"Controls", kControlNames[c], VirtualKeyName(bindings.keys[c])});
    for (int c = 0; c < kControlCount; ++c)
        entries.push_back(
            {"Controls", std::string("Pad") + kControlNames[c], PadInputName(bindings.pad[c])});
    return entries;
}

std::string ControllerMappingPath() {
    const std::string config = UserConfigFolder();
    return config.empty() ? "" : config + "/gamecontrollerdb.txt";
}

bool PadInputHeld(PadInput input) {
    switch (input) {
    case PadInput::Up:
        return JoyUp();
    case PadInput::Down:
        return JoyDown();
    case PadInput::Left:
        return JoyLeft();
    case PadInput::Right:
        return JoyRight();
    case PadInput::A:
        return JoyButton(1);
    case PadInput::B:
        return JoyButton(2);
    case PadInput::X:
        return JoyButton(3);
    case PadInput::Y:
        return JoyButton(4);
    }
    return false;
}
