// The scene's call into the sound output: the loop sounds of the cells in view.
#pragma once

class TSoundBuffer;

namespace scene_links {

// Plays a positional effect at a world point with loudness 0..255.
void TriggerEffect(int x, int y, int z, TSoundBuffer* sound, int loudness);

} // namespace scene_links
