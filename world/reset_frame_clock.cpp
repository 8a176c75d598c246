#include "platform/clock.h"
#include "world/frame_clock.h"

void ResetFrameClock() {
    Now = GetTickCount();
    frameMs = 1;
}
