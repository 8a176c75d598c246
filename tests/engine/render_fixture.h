// A small drawing set-up for the pipeline and rasterizer tests: a palette of
// 16 hues in 16 brightness steps, colour tables built from it, a few texture
// images, and reference pictures kept under fixtures/render/.
#pragma once

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "engine/render_context.h"

// Palette index of `hue` (0..15) at brightness `level` (0..15); index 0 is black.
constexpr int TestColour(int hue, int level) {
    return hue * 16 + level;
}

// Sizes both buffers to W x H, installs the test palette and its colour
// tables (black fog), clears the image and texture slots the tests
// use and places the camera at the origin looking along +z.
void SetupTestView(int width, int height);

// Images 1..4 and textures 1..4 (texture i shows image i):
// 1: four coloured quadrants with grid lines, 2: a ring around a hole of
// colour 0, 3-4: plain colours (hue 3 and 4).
void InstallTestTextures();

// Compares the main buffer with fixtures/render/NAME.raw, and writes the
// picture as BINARY_DIR/render/NAME.ppm (screen order) to look at. With
// KELVANE_UPDATE_RENDER=1 in the environment the reference is rewritten.
::testing::AssertionResult MatchesReference(const std::string& name);
