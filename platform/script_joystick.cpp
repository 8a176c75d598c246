#include "platform/script_joystick.h"

#include "platform/automation.h"

namespace {

constexpr std::uint32_t kAxisMax = 65535;
constexpr std::uint32_t kCentre = 32768;

ScriptJoystick scriptPad;

bool has(std::uint32_t inputs, ScriptPadInput input) {
    return (inputs >> input & 1u) != 0;
}

// Like a direction pad: full deflection either way, centred otherwise (both
// held: the low end wins, as one of them must).
std::uint32_t axis(std::uint32_t inputs, ScriptPadInput low, ScriptPadInput high) {
    if (has(inputs, low)) return 0;
    if (has(inputs, high)) return kAxisMax;
    return kCentre;
}

} // namespace

std::optional<JoystickCaps> ScriptJoystick::Caps() {
    return JoystickCaps{0, kAxisMax, 0, kAxisMax};
}

std::optional<JoystickPosition> ScriptJoystick::Position() {
    JoystickPosition p;
    p.x = axis(held_, kScriptPadLeft, kScriptPadRight);
    p.y = axis(held_, kScriptPadUp, kScriptPadDown);
    const ScriptPadInput buttons[] = {kScriptPadA, kScriptPadB, kScriptPadX, kScriptPadY};
    for (std::uint32_t i = 0; i < 4; ++i)
        if (has(held_, buttons[i])) p.buttons |= 1u << i;
    p.start = has(held_, kScriptPadStart);
    return p;
}

void UseScriptJoystick() {
    scriptPad.Hold(0);
    InstallJoystickDevice(&scriptPad);
}

void HoldScriptPad(std::uint32_t inputs) {
    scriptPad.Hold(inputs);
}
