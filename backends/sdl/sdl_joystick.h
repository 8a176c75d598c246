// Joystick 1 over SDL2's game controller API. SDL runs without its video
// subsystem, so it never meets the window system's windows or events.
#pragma once

#include <cstdint>
#include <string>

// Starts SDL's joystick and game controller subsystems (SDL's signal handlers
// off, so call it before the window system starts), takes the first game
// controller present, else the first joystick, as joystick 1 and installs it
// as the game's joystick device. Once joystick 1 is unplugged, the next device
// plugged in (or one still there) becomes joystick 1 by the same choice.
// With `virtualOnly` only SDL's virtual devices count (tests on machines that
// may have real controllers).
// The controller mappings of `mappingFile` (SDL's gamecontrollerdb.txt
// lines; a missing file or one above kMappingFileLimit is not read) are
// added before the first device is chosen.
// False when SDL cannot start; the game then has no joystick.
bool StartSdlJoystick(bool virtualOnly = false, const std::string& mappingFile = "");

// The largest mapping file read: far above SDL's own database (about 2 MB
// would be every controller twice over).
constexpr std::uint64_t kMappingFileLimit = 4u << 20;

// The mappings the file gave (0 without one), or -1 when SDL refused it.
int SdlMappingsAdded();

// Removes the device from the game and stops SDL's subsystems again.
void StopSdlJoystick();
