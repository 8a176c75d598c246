// The world's call into the music player: the music zones.
#pragma once

namespace world_links {

// Starts the music of a zone on the player's cell unless it already plays.
void CheckMusicZones(int cellX, int cellY, int cellZ);

} // namespace world_links
