// The local player's eight control flags, read from the keyboard once a frame.
#pragma once

// Copies this frame's flags to the previous frame's, then sets each flag
// whose key is down (or was pressed since the last poll).
void ReadControls();
