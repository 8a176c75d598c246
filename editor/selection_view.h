// The selection box as the level view draws it: thin bars along the box's
// twelve edges, one bar a cell, in one flat colour, for the part of the box
// near the camera.
#pragma once

#include <optional>

#include "editor/region_select.h"
#include "media/frame_buffer.h"

struct ViewBox;

// Builds the bars in the palette entry nearest to orange.
void BuildSelectionBars(const PalettePlanes& palette);

// Queues the bars of `box`'s edges whose cells lie in the view box.
void SubmitSelectionBox(const CellBox& box, const ViewBox& view);
