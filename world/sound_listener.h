// Where the world's positional sounds are heard from: the listener, placed
// each frame from the camera of that frame's view (the local player's camera,
// the title's demo camera, the editor's view), never from the renderer, so
// that a run that draws nothing hears what a drawn one hears. Also the
// ambient loops of the cells around the camera.
#pragma once

#include <cstdint>

#include "media/sound_position.h"

class TSoundBuffer;
struct ViewBox;

// The listener of this frame. Its hearing range is the program's (the game's
// and the editor's differ); until one is set it hears 10000 units far.
extern SoundCamera soundListener;

constexpr std::int32_t kDefaultHearingRange = 10000;
void SetHearingRange(std::int32_t range);

// Places the listener at a camera given as the renderer's SetCamera takes it:
// position, then yaw, pitch and roll in angle units.
void PlaceSoundListener(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw,
                        std::int32_t pitch, std::int32_t roll);

// Starts a positional sound heard from the listener (the world's sound
// service, as both programs install it). A request for a sound already
// started in the same cell since the voices last followed the listener joins
// that voice (as loud as the louder request) instead of starting another.
void PlaySoundAtListener(std::int32_t x, std::int32_t y, std::int32_t z, TSoundBuffer* sound,
                         std::int32_t volume);

// Volume and pan of every playing voice for the listener: once a frame, after
// the frame has placed it. Ends the frame's requests.
void VoicesFollowListener();

// The loop sounds of the cells of `box` whose type's loop is due this frame
// (updateObjectAnimation marks them). Neighbouring cells of one loop sound
// share one voice: each group of touching cells sounds once, centred in the
// cell the listener hears loudest. Groups sound in the grid order of their
// first cell (x slowest, z fastest); each goes through TriggerSound, so it is
// logged like every other world sound.
void StartDueLoopSounds(const ViewBox& box);
