#include "shell/joystick.h"

namespace {

enum Axis { kAxisX, kAxisY };

// One axis of a position, with half its range. Integer division truncates
// toward zero, as the thresholds ask, also for a device that reports its
// maximum below its minimum.
struct AxisReading {
    std::int64_t position;
    std::int64_t half;
};

std::int64_t halfRange(std::uint32_t min, std::uint32_t max) {
    return (static_cast<std::int64_t>(max) - static_cast<std::int64_t>(min)) / 2;
}

std::optional<AxisReading> readAxis(Axis axis) {
    if (joystickState.JoystickAbsent) return std::nullopt;
    const auto p = ReadJoystickPosition();
    if (!p) return std::nullopt;
    const JoystickCaps& c = joystickState.caps;
    if (axis == kAxisX) return AxisReading{p->x, halfRange(c.minX, c.maxX)};
    return AxisReading{p->y, halfRange(c.minY, c.maxY)};
}

bool belowLowThreshold(const std::optional<AxisReading>& a) {
    return a && a->position < a->half / 2;
}

bool aboveHighThreshold(const std::optional<AxisReading>& a) {
    return a && a->position > (3 * a->half) / 2;
}

} // namespace

JoystickState joystickState;

void ReadJoystickCaps() {
    const auto caps = ReadJoystickDeviceCaps();
    joystickState.caps = caps.value_or(JoystickCaps{});
    // Without a range every position would count as a deflection, so a
    // device whose range cannot be read counts as absent too.
    joystickState.JoystickAbsent = !caps || !ReadJoystickPosition();
}

bool JoyLeft() {
    return belowLowThreshold(readAxis(kAxisX));
}

bool JoyRight() {
    return aboveHighThreshold(readAxis(kAxisX));
}

bool JoyUp() {
    return belowLowThreshold(readAxis(kAxisY));
}

bool JoyDown() {
    return aboveHighThreshold(readAxis(kAxisY));
}

bool JoyButton(int n) {
    if (n < 1 || n > 4 || joystickState.JoystickAbsent) return false;
    const auto p = ReadJoystickPosition();
    return p && (p->buttons & (1u << (n - 1))) != 0;
}

bool JoyStartButton() {
    if (joystickState.JoystickAbsent) return false;
    const auto p = ReadJoystickPosition();
    return p && p->start;
}

bool JoyBackButton() {
    if (joystickState.JoystickAbsent) return false;
    const auto p = ReadJoystickPosition();
    return p && p->back;
}
