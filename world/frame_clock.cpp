#include "world/frame_clock.h"

#include "platform/clock.h"

std::int32_t Now = 0;
std::int32_t frameMs = 0;

void AdvanceFrameClock() {
    const std::int32_t tick = GetTickCount();
    frameMs = TickDifference(Now, tick);
    Now = tick;
}

void ResetFrameClock() {
    Now = GetTickCount();
    frameMs = 1;
}
