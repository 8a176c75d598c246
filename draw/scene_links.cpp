#include "draw/scene_links.h"

#include "engine/sound_camera.h"
#include "media/sound_output.h"

namespace scene_links {

void TriggerEffect(int x, int y, int z, TSoundBuffer* sound, int loudness) {
    ::TriggerEffect(x, y, z, HearingCamera(), sound, loudness);
}

} // namespace scene_links
