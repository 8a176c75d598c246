// The automation options at run time: the frame budget, the virtual clock
// and the input script.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "shell/game_options.h"

// Takes the options for this run: fixes the random seed and starts the
// virtual clock when asked.
void ConfigureAutomation(const GameOptions& options);
const GameOptions& CurrentAutomation();

// Before each frame of the game loop: counts it, advances the virtual clock
// and sets the keys the script holds on this frame (frames count from 1).
void BeginAutomatedFrame();
// After each frame of the game loop: takes the frame's sound into the
// capture when the run records its audio.
void EndAutomatedFrame();
std::int64_t FramesRun();
// The script's frame number of the current frame, from 1; 0 while the script
// waits (with --script-from play, frame 1 is the first frame run in play).
std::int64_t ScriptFrame();
// Before any frame runs: queues the script's F ANSWER lines of frame 1 for
// the prompts to come, so that a prompt asked before frame 1 (the network
// lobby's nickname) can take them. Not with --script-from play.
void QueueFirstFrameAnswers();
// The script's form commands of the current frame, for the window to run;
// frame 1's answers are left out once QueueFirstFrameAnswers queued them.
std::vector<FormCommand> ScriptFormCommandsNow();
// The frame interval the game loop keeps in real time: a replay playing back
// in a window keeps its frames' pace; a network run on the virtual clock the
// clock's step, so that the other processes and the transport's timers see
// time pass as the virtual clock does. nullopt otherwise.
std::optional<std::int32_t> RealTimeFrameMs();
// A budget of `frames` frames, when --frames gave none (a replay's length).
void LimitFrameBudget(std::int64_t frames);
// True once --frames N frames have run.
bool FrameBudgetUsed();
