// The frame clock shared by the shell, the simulation and the editor.
#pragma once

#include <cstdint>

// Tick (milliseconds) of the current frame, and the time since the previous one.
extern std::int32_t Now;
extern std::int32_t frameMs;

// After a long operation (loading, changing screens, display modes, music):
// Now = the current tick, frameMs = 1, so the next frame does not see the
// time the operation took.
void ResetFrameClock();

// A rate given per 90 ms, scaled to this frame: frameMs * v / 90.
inline float frameScaled(float v) {
    return static_cast<float>(frameMs) * v * (1.0f / 90.0f);
}
