// The audio capture of --record-audio: instead of a device, the mixer is
// pulled after each frame for exactly the time that passed since the capture
// began, so that two runs on the virtual clock give the same samples.
#pragma once

#include <cstdint>
#include <string>

// Starts a capture at the clock's present tick; the sound output must be
// created for a capture (SoundOutputKind::Capture). Without `keepSamples`
// nothing is mixed or kept: the voices and the music only move on, and end,
// as they would on a device.
void BeginAudioCapture(bool keepSamples = true);
// After a frame: pulls the sound of the time passed since the last pull.
void CaptureAudioFrame();
// Stereo frames captured and kept so far.
std::int64_t CapturedAudioFrames();
// The capture as a 16-bit stereo wave file; false when it cannot be written.
bool WriteAudioCapture(const std::string& file);
