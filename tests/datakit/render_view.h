// Drawing the data kit's meshes with the game's own pipeline into a bare
// view whose colour tables leave every palette index as it is.
#pragma once

#include <cstdint>

#include "engine/mesh.h"

// Sizes the view, makes the shade table the identity, clears to colour 0
// and installs one plain image (colour `imageColour`) for texture `texture`.
void SetupBareView(int width, int height, int texture = 0, std::uint8_t imageColour = 0);

// Pixels of the picture still at colour 0, leaving out the last row and
// column, which no triangle fills.
int UncoveredPixels();

// Pixels (same range) of colour `colour`.
int PixelsOf(std::uint8_t colour);
