// Joystick 1 as the game polls it: a device range and a position read anew
// on every test. A window-system layer (SDL) installs the device; without
// one (tests, tools, headless runs) there is no joystick and every read fails.
#pragma once

#include <cstdint>
#include <optional>

// The range a device reports its positions in.
struct JoystickCaps {
    std::uint32_t minX = 0, maxX = 0;
    std::uint32_t minY = 0, maxY = 0;
};

struct JoystickPosition {
    std::uint32_t x = 0, y = 0;
    std::uint32_t buttons = 0; // bit value 1, 2, 4, 8 for buttons 1 to 4
    bool start = false;        // a controller's start button (no game button)
    bool back = false;         // a controller's back (select) button (no game button)
};

class JoystickDevice {
  public:
    virtual ~JoystickDevice() = default;
    // Takes the device's pending events (plugging, unplugging, new
    // positions); called once a frame before the reads.
    virtual void Update() = 0;
    // Both fail (nullopt) while no device answers.
    virtual std::optional<JoystickCaps> Caps() = 0;
    virtual std::optional<JoystickPosition> Position() = 0;
};

// The joystick device from now on; null removes it.
void InstallJoystickDevice(JoystickDevice* device);

// The installed device's operations, or their stand-ins without one.
void UpdateJoystick();
std::optional<JoystickCaps> ReadJoystickDeviceCaps();
std::optional<JoystickPosition> ReadJoystickPosition();
