// Loading a texture bank into the render context: the image table, the
// texture table, the game palette and the blend table (through its cache).
#pragma once

#include <string>

#include "platform/loaded.h"

// Reads the bank and every image it lists, takes the game palette from the
// first image, remaps the others onto it, fills the texture table and reads
// or builds the blend table. On failure (missing bank or image, unreadable
// image, image not 128 x 128) the result holds the "VX3: ..." text to show;
// the program then ends. The shade table is built separately
// (BuildShadeTable) once the fog is known.
Loaded<> LoadBank(const std::string& bankFile);

// Advances every texture 0..highest by one image: forwards when first <
// last, backwards when first > last, wrapping to first; still otherwise.
void AnimateTextures();
