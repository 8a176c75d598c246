// The tick counter: real milliseconds, or a virtual clock for automated runs
// that only moves when told to.
#pragma once

#include <cstdint>

std::int32_t GetTickCount();

// Switches to the virtual clock, starting at `start` ms.
void UseVirtualClock(std::int32_t start);
bool VirtualClockActive();
void AdvanceVirtualClock(std::int32_t ms);
void UseRealClock();
