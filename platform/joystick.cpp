#include "platform/joystick.h"

namespace {

JoystickDevice* installed = nullptr;

} // namespace

void InstallJoystickDevice(JoystickDevice* device) {
    installed = device;
}

void UpdateJoystick() {
    if (installed) installed->Update();
}

std::optional<JoystickCaps> ReadJoystickDeviceCaps() {
    if (!installed) return std::nullopt;
    return installed->Caps();
}

std::optional<JoystickPosition> ReadJoystickPosition() {
    if (!installed) return std::nullopt;
    return installed->Position();
}
