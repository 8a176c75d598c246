#include "world/frame_clock.h"

std::int32_t Now = 0;
std::int32_t frameMs = 0;
