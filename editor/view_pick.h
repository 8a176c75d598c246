// The cell under a point of the level view, and the drag that spans the
// selection box with the mouse: the box runs from the cell where the left
// button went down to the cell under it now, both on the selector's layer.
#pragma once

#include <optional>
#include <utility>

#include "editor/region_select.h"

// Keeps the level view's camera and projection as the view was last drawn.
void RememberLevelViewCamera();

// The cell of the layer `layer` (y) seen at pixel (x, y) of the level
// view's buffer: where the ray through the pixel meets the layer's middle
// plane. nullopt when the ray does not meet it in front of the camera or the
// cell lies outside the grid.
std::optional<CellTriple> CellUnderViewPixel(double x, double y, int layer);

// One frame of the mouse over the level view: `pixel` is the point in the
// buffer's pixels (nullopt when the mouse is not over the view) and `held`
// the left button. Pressed, the box starts at the cell under it; dragged, it
// spans to the cell under it now. The selector stays where it is.
void DragSelectFrame(std::optional<std::pair<double, double>> pixel, bool held);
