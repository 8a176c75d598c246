#include "world/world_links.h"

namespace world_links {

void CheckMusicZones(int, int, int) {}
void UpdateVoices() {}
bool SentryTouchesLocalPlayer() {
    return false;
}
void KillPlayer() {}

} // namespace world_links
