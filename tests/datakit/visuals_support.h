// Shared by the texture and interface tests: one generated copy of the
// pictures, and colour helpers over the game palette.
#pragma once

#include <memory>
#include <string>

#include "engine/pcx.h"
#include "support/test_support.h"

// A folder holding what GenerateTextures and GenerateInterface wrote, made
// once for the whole test program.
const TempDir& GeneratedVisuals();

// Decodes a generated PCX file, failing the test when it cannot.
PcxImage ReadGenerated(const std::string& relative);

// Perceived brightness (0..255 * 1000) of a palette entry.
int Luma(const PalettePlanes& palette, int index);
