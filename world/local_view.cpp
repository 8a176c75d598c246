#include "world/local_view.h"

#include <algorithm>

#include "engine/angles.h"
#include "world/action_cell.h"
#include "world/follow_camera.h"
#include "world/player_death.h"
#include "world/player_models.h"
#include "world/sentries.h"
#include "world/sound_listener.h"
#include "world/title_overlay.h"
#include "world/view_box.h"
#include "world/world.h"
#include "world/world_links.h"

void UpdateLocalView() {
    PlayerRecord& player = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    UpdateActionCell(player);
    PlaceCamera(player);
    world_links::CheckMusicZones(CellOf(player.x), CellOf(player.y), CellOf(player.z));
    // Heard from where the picture is seen: the camera as drawing gives it
    // to the renderer.
    PlaceSoundListener(TruncToInt(player.cameraX), TruncToInt(player.cameraY),
                       TruncToInt(player.cameraZ), TruncToInt(player.cameraYaw),
                       TruncToInt(player.cameraPitch), TruncToInt(player.cameraRoll));
    AnimatePlayerModels();
    if (!player.dead && SentryTouchesLocalPlayer()) killPlayer();
    StartDueLoopSounds(ViewBoxAround(worldGrid, player.cameraX, player.cameraY, player.cameraZ));
    AdvanceTitleOverlay();
}
