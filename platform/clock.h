// The tick counter: real milliseconds, or a virtual clock for automated runs
// that only moves when told to.
#pragma once

#include <cstdint>

std::int32_t GetTickCount();

// Switches to the virtual clock, starting at `start` ms.
void UseVirtualClock(std::int32_t start);
bool VirtualClockActive();

// Ticks are a 32-bit counter that wraps: differences and sums are taken
// modulo 2^32, so that they stay right across the wrap.
std::int32_t TickDifference(std::int32_t from, std::int32_t to);
std::int32_t TickAfter(std::int32_t tick, std::int32_t ms);
void AdvanceVirtualClock(std::int32_t ms);
void UseRealClock();
