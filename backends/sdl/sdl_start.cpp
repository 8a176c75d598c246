#include "backends/sdl/sdl_start.h"

#include <SDL.h>

bool StartSdlSubsystems(std::uint32_t subsystems) {
    // The window system handles the program's signals; SDL must leave them be.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(subsystems) == 0;
}

void StopSdlSubsystems(std::uint32_t subsystems) {
    SDL_QuitSubSystem(subsystems);
}
