// The box of cells around a camera that a frame looks at: the cells drawn,
// and the cells whose ambient loops are heard.
#pragma once

#include <cstdint>

struct WorldGrid;

// Cells of the frame: from lo to hi inclusive on each axis, around the
// camera cell c.
struct ViewBox {
    int cx = 0, cy = 0, cz = 0;
    int loX = 0, loY = 0, loZ = 0;
    int hiX = -1, hiY = -1, hiZ = -1;
    int reach = 8; // cells on each side of the camera cell
};

// Eight cells on each side of the camera's cell, clipped to 0 below and to
// the grid's size above (the upper end may be one past the grid, where cells
// read as empty).
ViewBox ViewBoxAround(const WorldGrid& grid, float cameraX, float cameraY, float cameraZ);
// The same with `reach` cells on each side (at least 1).
ViewBox ViewBoxAround(const WorldGrid& grid, float cameraX, float cameraY, float cameraZ,
                      int reach);

// Whether the point's cell lies less than the box's reach from the camera
// cell on every axis.
bool NearCameraCell(const ViewBox& box, float x, float y, float z);
