// What the shell's logic asks of the main form. Without a form (tests) these
// do nothing, and the client area counts as 320 x 240.
#pragma once

// Frame step while the game loads: black client area with "LOADING PLEASE WAIT".
void ShowLoadingScreen();
void SetCommPanelVisible(bool visible);
int FormClientWidth();
int FormClientHeight();
// Lets the window deliver pending input (used while waiting for keys).
void ProcessPendingEvents();
// Ends the program with `exitCode` once control returns to the event loop:
// the game loop stops at once.
void RequestProgramEnd(int exitCode);
