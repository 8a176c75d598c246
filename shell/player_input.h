// The local player's eight control flags, read from the keyboard and joystick 1
// once a frame.
#pragma once

// Copies this frame's flags to the previous frame's, then sets each flag
// whose bound key (controlBindings) is down (or was pressed since the last
// poll) or, failing that, whose bound controller input is held. Joystick 1's
// events are taken first; while it is absent, a device that now answers
// becomes present.
void ReadControls();
