#include "world/world_links.h"

namespace world_links {

void CheckMusicZones(int, int, int) {}
void UpdateVoices() {}

} // namespace world_links
