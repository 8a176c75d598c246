// The function keys, polled once a frame: display, sound and diagnostic
// options that change at any time.
#pragma once

// F8 stereoscopic mode, F9 frame counter, F10 network interval, F11
// exclusive mode, F7 music, F1 help, F4 picture size, F5 texture detail, F6
// full screen, F12 screenshot, tested in that order; a held key acts in every frame (but F1
// only when pressed: it shows or hides the help). Nothing while a video clip
// plays.
void HandleOptionKeys();
