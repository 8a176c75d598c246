// SDL's start-up, shared by the joystick and the audio device: SDL runs
// without its video subsystem and leaves the program's signals to the window
// system. Each user starts and stops only its own subsystems.
#pragma once

#include <cstdint>

// SDL_InitSubSystem with SDL's signal handlers off; false when SDL cannot
// start those subsystems.
bool StartSdlSubsystems(std::uint32_t subsystems);
void StopSdlSubsystems(std::uint32_t subsystems);
