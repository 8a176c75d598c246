// Joystick 1 in the game's terms: its range, read once at start-up, and the
// direction and button tests that fill the control flags a key leaves clear.
#pragma once

#include "platform/joystick.h"

struct JoystickState {
    JoystickCaps caps;
    // Set when joystick 1 did not answer at start-up: every test is then
    // false for the rest of the run. Set too before the range has been read,
    // so that an unread range of 0..0 never reads as a deflection.
    bool JoystickAbsent = true;
};

extern JoystickState joystickState;

// Reads joystick 1's range and tries its position once.
void ReadJoystickCaps();

// Each reads the position anew and is false when the joystick is absent or
// does not answer. Left and up are positions below a quarter of the range
// (counted from 0, not from the minimum); right and down above three quarters.
bool JoyLeft();
bool JoyRight();
bool JoyUp();
bool JoyDown();
// Buttons 1 to 4; any other number is false.
bool JoyButton(int n);
// A controller's start button, which opens the controls page on the title.
bool JoyStartButton();
// A controller's back (select) button, which opens the level select on the title.
bool JoyBackButton();
