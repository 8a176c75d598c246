#include "draw/scene.h"

#include <algorithm>

#include "draw/pipeline.h"
#include "draw/scene_steps.h"
#include "engine/mesh.h"
#include "engine/render_context.h"
#include "world/models.h"
#include "world/title_overlay.h"
#include "world/world.h"

void DrawPlayFrame(const World& world) {
    const PlayerRecord& player = world.players[std::clamp(world.localPlayer, 0, kPlayerCount - 1)];
    const ViewBox box = ViewBoxAround(world.grid, player.cameraX, player.cameraY, player.cameraZ);

    // Fog colour: shade 0 of the palette entry nearest to the fog.
    ClearFrame((*renderContext.shadeTable)[255]);
    scene::DrawSky(world, player);

    const std::int32_t cameraX = TruncToInt(player.cameraX);
    const std::int32_t cameraY = TruncToInt(player.cameraY);
    const std::int32_t cameraZ = TruncToInt(player.cameraZ);
    SetCamera(cameraX, cameraY, cameraZ, TruncToInt(player.cameraYaw),
              TruncToInt(player.cameraPitch), TruncToInt(player.cameraRoll));
    AddLight(cameraX, cameraY, cameraZ, TruncToInt(player.light));

    scene::DrawTransitionSlots(world, box);
    scene::DrawSlidingBlocks(world);
    scene::DrawCells(world, box, player);
    scene::DrawPlayers(world, box);
    scene::DrawSentries(world, box);
    DrawQueue();

    if (titleOverlay.drawnShown) scene::DrawTitleOverlay(world);
    if (world.sentryCount > 0) scene::DrawRadar(world, player);
    if (world.menu.open) scene::DrawInGameMenu(world);
}

void DrawTransition(int level, int style) {
    if (level <= 0 || style < 0 || style >= static_cast<int>(transitionMeshes.size())) return;
    const Mesh* mesh = MeshOrNull(transitionMeshes[style]);
    if (!mesh) return;
    // Sixteen steps, one face each.
    SetCamera(0, 0, 0, 0, 0, 0);
    AddLight(0, 0, 0, 10000);
    SubmitMeshFaces(mesh, std::min(level, 16), 0, 0, 170, 0, 0);
    DrawQueue();
}
