#include "platform/clock.h"

#include <chrono>

namespace {
bool virtualActive = false;
std::int32_t virtualNow = 0;
} // namespace

std::int32_t GetTickCount() {
    if (virtualActive) return virtualNow;
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    // Wraps like a 32-bit tick counter; differences stay right across the wrap.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
}

void UseVirtualClock(std::int32_t start) {
    virtualActive = true;
    virtualNow = start;
}

bool VirtualClockActive() {
    return virtualActive;
}

void AdvanceVirtualClock(std::int32_t ms) {
    virtualNow = TickAfter(virtualNow, ms);
}

void UseRealClock() {
    virtualActive = false;
}

std::int32_t TickDifference(std::int32_t from, std::int32_t to) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(to) -
                                     static_cast<std::uint32_t>(from));
}

std::int32_t TickAfter(std::int32_t tick, std::int32_t ms) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(tick) +
                                     static_cast<std::uint32_t>(ms));
}
