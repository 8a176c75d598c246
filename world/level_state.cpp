#include "world/level_state.h"

std::int32_t currentMusic = -1;
std::uint8_t timerRunning = 0;
std::int32_t timeLeftMs = 0;
