// The steps DrawPlayFrame is made of, shared by the scene's source files.
#pragma once

#include <cstdint>

struct PlayerRecord;

namespace scene {

// Cells drawn this frame: from lo to hi inclusive on each axis, around the
// camera cell c.
struct ViewBox {
    int cx = 0, cy = 0, cz = 0;
    int loX = 0, loY = 0, loZ = 0;
    int hiX = -1, hiY = -1, hiZ = -1;
};

ViewBox ViewBoxAround(float cameraX, float cameraY, float cameraZ);

// Whether the cell lies less than 8 cells from the camera cell on every axis.
bool NearCameraCell(const ViewBox& box, float x, float y, float z);

// Places the camera of `player`: first person at the eyes, or the follow
// camera moving behind him.
void PlaceCamera(PlayerRecord& player);

void DrawSky(const PlayerRecord& player);
void DrawTransitionSlots(const ViewBox& box);
void DrawSlidingBlocks();
void DrawCells(const ViewBox& box, const PlayerRecord& player);
void DrawPlayers(const ViewBox& box);
void DrawSentries(const ViewBox& box);

void DrawTitleOverlay();
void DrawRadar(const PlayerRecord& player);
void DrawInGameMenu();

// Truncation toward zero that saturates instead of overflowing (NaN gives 0).
std::int32_t TruncToInt(double value);

} // namespace scene
