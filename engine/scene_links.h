// The scene's calls into parts that are built later: music zones, positional
// sound, the sentries' touch test and the player's death. Each does nothing
// (or answers "no") until its part exists; wiring a part in means giving its
// body here one call, and nothing else in the scene.
#pragma once

class TSoundBuffer;

namespace scene_links {

// Starts the music of a zone on the player's cell unless it already plays.
void CheckMusicZones(int cellX, int cellY, int cellZ);

// Plays a positional effect at a world point with loudness 0..255.
void TriggerEffect(int x, int y, int z, TSoundBuffer* sound, int loudness);

// Recomputes the playing voices' volume and pan for the camera just placed.
void UpdateVoices();

// Whether a sentry touches the local player.
bool SentryTouchesLocalPlayer();

// Starts the local player's death.
void KillPlayer();

} // namespace scene_links
