#include "world/world_links.h"

#include "engine/sound_camera.h"
#include "media/music_player.h"
#include "media/sound_output.h"
#include "world/world.h"

namespace world_links {

void CheckMusicZones(int cellX, int cellY, int cellZ) {
    for (const MusicZone& zone : levelState.musicZones)
        if (zone.x == cellX && zone.y == cellY && zone.z == cellZ) EnterMusicZone(zone.music);
}
void UpdateVoices() {
    ::UpdateVoices(HearingCamera());
}

} // namespace world_links
