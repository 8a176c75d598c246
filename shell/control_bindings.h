// The keys and controller inputs the player's eight controls answer to:
// today's keys and the pad's stick and A, B, X, Y by default, changed in
// kelv.ini's [Controls] section ("Jump=SPACE", "PadJump=A" ...).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"
#include "world/world.h"

// What of the controller a control answers to: a direction of the stick (or
// the direction pad over it) or one of the four face buttons.
enum class PadInput { Up, Down, Left, Right, A, B, X, Y };

struct ControlBindings {
    std::array<int, kControlCount> keys{}; // virtual-key numbers
    std::array<PadInput, kControlCount> pad{};
};

ControlBindings DefaultControlBindings();
// The bindings in force (the defaults until the settings are read).
extern ControlBindings controlBindings;

// "Forward", "Back", "Left", "Right", "Jump", "Look", "Action", "Menu": the
// control's key in [Controls] ("Pad" before it for the controller's).
const char* ControlName(Control control);
// "UP" ... "A", "B", "X", "Y"; case-insensitive when read.
const char* PadInputName(PadInput input);
std::optional<PadInput> PadInputFromName(std::string_view name);

// The [Controls] keys over the defaults. A missing or empty key keeps the
// default; a name that is not a key (or pad input) keeps it too and adds a
// line saying so to `complaints`.
ControlBindings ReadControlBindings(const ProfileData& profile,
                                    std::vector<std::string>& complaints);
// Every binding as [Controls] entries, keyboard keys first.
std::vector<ProfileEntry> ControlBindingEntries(const ControlBindings& bindings);

// The player's own controller mappings (SDL's gamecontrollerdb.txt lines):
// $XDG_CONFIG_HOME/kelvane/gamecontrollerdb.txt, or under ~/.config when
// XDG_CONFIG_HOME is not an absolute path; empty when neither is known.
std::string ControllerMappingPath();

// Whether the controller's input is held now (the joystick's tests).
bool PadInputHeld(PadInput input);
