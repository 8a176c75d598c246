#include "engine/draw/scene_links.h"

namespace scene_links {

void TriggerEffect(int, int, int, TSoundBuffer*, int) {}

} // namespace scene_links
