#include "world/local_view.h"

#include <algorithm>

#include "world/action_cell.h"
#include "world/follow_camera.h"
#include "world/player_death.h"
#include "world/player_models.h"
#include "world/sentries.h"
#include "world/world.h"
#include "world/world_links.h"

void UpdateLocalView() {
    PlayerRecord& player = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    UpdateActionCell(player);
    PlaceCamera(player);
    world_links::CheckMusicZones(CellOf(player.x), CellOf(player.y), CellOf(player.z));
    AnimatePlayerModels();
    if (!player.dead && SentryTouchesLocalPlayer()) killPlayer();
    world_links::UpdateVoices();
}
