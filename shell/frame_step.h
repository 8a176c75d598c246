// One frame of the game: input, clock, the current screen, transition,
// message line, overlays and presentation.
#pragma once

void FrameStep();

// Runs the handler of the current screen state; other states run nothing.
void RunCurrentScreen();
