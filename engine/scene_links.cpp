#include "engine/scene_links.h"

namespace scene_links {

void CheckMusicZones(int, int, int) {}
void TriggerEffect(int, int, int, TSoundBuffer*, int) {}
void UpdateVoices() {}
bool SentryTouchesLocalPlayer() {
    return false;
}
void KillPlayer() {}

} // namespace scene_links
