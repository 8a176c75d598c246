// A controller played by an input script: joystick 1 of a run whose script
// holds controller inputs, so that menus, the lobby and play can be driven
// by a controller without a device (headless runs open none).
#pragma once

#include <cstdint>

#include "platform/joystick.h"

class ScriptJoystick final : public JoystickDevice {
  public:
    // The inputs held from now on (bits 1 << ScriptPadInput).
    void Hold(std::uint32_t inputs) { held_ = inputs; }
    void Update() override {}
    std::optional<JoystickCaps> Caps() override;
    std::optional<JoystickPosition> Position() override;

  private:
    std::uint32_t held_ = 0;
};

// Installs the run's script controller as joystick 1, holding nothing.
void UseScriptJoystick();
// Sets what the run's script controller holds.
void HoldScriptPad(std::uint32_t inputs);
