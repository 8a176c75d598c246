#include "world/world_links.h"

#include "engine/sound_camera.h"
#include "media/sound_output.h"

namespace world_links {

void CheckMusicZones(int, int, int) {}
void UpdateVoices() {
    ::UpdateVoices(HearingCamera());
}

} // namespace world_links
