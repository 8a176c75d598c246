// Stereoscopic viewing: each eye is drawn in 16 intensities into its own
// frame buffer (the stereo buffer for eye A, the main buffer for eye B) and
// the two are merged into one palette index, 16 * A + B, when presenting.
#pragma once

#include "media/frame_buffer.h"

// Eye colours of the two viewing modes.
struct EyeColour {
    int red, green, blue;
};
constexpr EyeColour kRedBlueEyeA{255, 0, 0}, kRedBlueEyeB{0, 255, 255};
constexpr EyeColour kRedGreenEyeA{0, 230, 0}, kRedGreenEyeB{255, 0, 0};
constexpr int kStereoEyeShift = 30;

// Turns stereoscopic viewing on: the shade table maps every colour to an
// intensity 0..14, and the palette (saved for `StereoOff`) becomes the 256
// mixtures of the two eye colours. Eye B's colour comes blue first. Turning
// it on while already on first turns the current mode off, so the saved
// palette is always the normal one.
void StereoOn(int aRed, int aGreen, int aBlue, int eyeShift, int bBlue, int bGreen, int bRed);

// Restores the saved shade table and palette. Does nothing when stereoscopic
// viewing is off, as there is nothing saved to restore.
void StereoOff();

// The buffer to merge into the main one when presenting, or null.
const FrameBuffer* ActiveStereoBuffer();
