#include "world/world_links.h"

#include "media/music_player.h"
#include "world/world.h"

namespace world_links {

void CheckMusicZones(int cellX, int cellY, int cellZ) {
    for (const MusicZone& zone : levelState.musicZones)
        if (zone.x == cellX && zone.y == cellY && zone.z == cellZ) EnterMusicZone(zone.music);
}

} // namespace world_links
