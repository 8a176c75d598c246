#include "world/frame_clock.h"

#include "platform/clock.h"

std::int32_t Now = 0;
std::int32_t frameMs = 1;

void ResetFrameClock() {
    Now = GetTickCount();
    frameMs = 1;
}
