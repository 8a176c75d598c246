#include "world/level_state.h"

std::uint8_t timerRunning = 0;
std::int32_t timeLeftMs = 0;
