// The camera as the sound output hears from it: the render context's camera
// position and rotation, and its hearing range.
#pragma once

#include "media/sound_position.h"

SoundCamera HearingCamera();
