// Screen states, the screen transition and the message line of the game's
// frame loop.
#pragma once

#include <cstdint>
#include <string>

// Enters a screen state; nothing when it is already the current one.
void ChangeScreen(std::int32_t state);

// Starts a closing (+1) or opening (-1) transition; nothing while one runs.
void StartTransition(std::int32_t direction);

// Advances the running transition by one step per 40 ms since its last step
// (at most 3), at the tick `Now`.
void StepTransition();

// Shows `text` on the message line for 10000 ms, replacing any message.
void ShowStatusMessage(const std::string& text);

// Counts down the message line by frameMs; returns true when the text is to
// be drawn in this frame (it is, once more, in the frame in which it expires).
bool UpdateMessageLine();

// "FPS:" and 1000 / ms rounded to the nearest (ties to even). A frame of 0 ms
// (two frames within one tick) counts as 1 ms.
std::string FpsText(std::int32_t ms);
