// The local player's eight control flags, read from the keyboard and joystick 1
// once a frame.
#pragma once

// Copies this frame's flags to the previous frame's, then sets each flag
// whose key is down (or was pressed since the last poll) or, failing that,
// whose joystick test is true. The joystick's events are taken first.
void ReadControls();
