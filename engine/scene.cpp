#include "engine/scene.h"

#include <algorithm>

#include "engine/mesh.h"
#include "engine/pipeline.h"
#include "engine/render_context.h"
#include "engine/scene_links.h"
#include "engine/scene_steps.h"
#include "formats/definitions.h"
#include "world/action_cell.h"
#include "world/frame_clock.h"
#include "world/in_game_menu.h"
#include "world/world.h"

TitleOverlay titleOverlay;

void StartTitleOverlay() {
    titleOverlay.shown = true;
    titleOverlay.offset = 0.7f;
    titleOverlay.levelStart = Now;
}

void DrawPlayFrame() {
    PlayerRecord& player = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];

    UpdateActionCell(player);
    scene::PlaceCamera(player);
    scene_links::CheckMusicZones(cellOf(player.x), cellOf(player.y), cellOf(player.z));

    const scene::ViewBox box = scene::ViewBoxAround(player.cameraX, player.cameraY, player.cameraZ);

    // Fog colour: shade 0 of the palette entry nearest to the fog.
    ClearFrame((*renderContext.shadeTable)[255]);
    scene::DrawSky(player);

    const std::int32_t cameraX = scene::TruncToInt(player.cameraX);
    const std::int32_t cameraY = scene::TruncToInt(player.cameraY);
    const std::int32_t cameraZ = scene::TruncToInt(player.cameraZ);
    SetCamera(cameraX, cameraY, cameraZ, scene::TruncToInt(player.cameraRoll),
              scene::TruncToInt(player.cameraPitch), scene::TruncToInt(player.cameraYaw));
    AddLight(cameraX, cameraY, cameraZ, scene::TruncToInt(player.light));

    scene::DrawTransitionSlots(box);
    scene::DrawSlidingBlocks();
    scene::DrawCells(box, player);
    scene::DrawPlayers(box);
    scene::DrawSentries(box);
    DrawQueue();

    if (titleOverlay.shown) scene::DrawTitleOverlay();
    if (sentryCount > 0) scene::DrawRadar(player);
    if (inGameMenu.open) scene::DrawInGameMenu();

    if (!player.dead && scene_links::SentryTouchesLocalPlayer()) scene_links::KillPlayer();
    scene_links::UpdateVoices();
}

void DrawTransition(int level, int style) {
    if (level <= 0 || style < 0 || style >= static_cast<int>(transitionMeshes.size())) return;
    Mesh* mesh = transitionMeshes[style];
    if (!mesh) return;
    // Sixteen steps, one face each; a mesh with fewer faces shows all it has.
    const std::uint16_t lastFace = mesh->lastFace;
    mesh->lastFace = static_cast<std::uint16_t>(std::min({level - 1, 15, int{lastFace}}));
    SetCamera(0, 0, 0, 0, 0, 0);
    AddLight(0, 0, 0, 10000);
    SubmitMesh(mesh, 0, 0, 170, 0, 0, 0, 0, 0);
    DrawQueue();
    mesh->lastFace = lastFace;
}
