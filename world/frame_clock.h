// The frame clock shared by the shell, the simulation and the editor.
#pragma once

#include <cstdint>

// Tick (milliseconds) of the current frame, and the time since the previous one.
extern std::int32_t Now;
extern std::int32_t frameMs;

// Once a frame, for both programs: frameMs = the time since the last frame
// (one reading of the tick counter), Now = that tick.
void AdvanceFrameClock();

// After a long operation (loading, changing screens, display modes, music):
// Now = the current tick, frameMs = 1, so the next frame does not see the
// time the operation took.
void ResetFrameClock();

// A rate given per 90 ms, scaled to this frame: frameMs * v / 90.
inline float frameScaled(float v) {
    return static_cast<float>(frameMs) * v * (1.0f / 90.0f);
}

// The step that brings `value` toward `target` by `rate` of the gap per
// 90 ms in this frame: frameScaled((target - value) * rate), but never past
// the target however long the frame was.
inline float RelaxStep(float value, float target, float rate) {
    if (frameScaled(rate) >= 1.0f) return target - value;
    return frameScaled((target - value) * rate);
}
