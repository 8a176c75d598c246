// The world's calls into the media layer: music zones and the sound listener.
#pragma once

namespace world_links {

// Starts the music of a zone on the player's cell unless it already plays.
void CheckMusicZones(int cellX, int cellY, int cellZ);

// Recomputes the playing voices' volume and pan for the camera just placed.
void UpdateVoices();

} // namespace world_links
