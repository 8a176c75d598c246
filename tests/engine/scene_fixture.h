// A data folder and levels for the scene tests: the mini data set with
// patterned textures in colour, font sheets with real glyph shapes, a box
// figure for the hero and the sentry, a flat shadow and a sky box.
#pragma once

#include <cstdint>
#include <string>

#include "formats/level_file.h"
#include "support/test_support.h"

// Palette index of `hue` (0..15) at brightness `level` (0..15) in the
// textures' palette, which becomes the game palette.
constexpr int SceneColour(int hue, int level) {
    return hue * 16 + level;
}

// Cube type 1: brick texture (image 0) on the sides, checker (image 1) on top
// and bottom; cube type 2: checker everywhere; type 3: a small pyramid mesh;
// cube type 4: a crate texture (image 2) everywhere; type 5: a ramp rising
// along x from 0 to 456 (the pyramid mesh with a box of its own).
extern const char* const kSceneObjects;

// Writes the data files into `dir`.
void WriteSceneDataSet(const TempDir& dir);

// An empty level of the given size, start cell (1, 1, 1), every cell
// brightness 128, description and author empty, inside.
LevelData EmptyLevel(int sizeX, int sizeY, int sizeZ);
void SetCell(LevelData& level, int x, int y, int z, std::uint8_t type);

// Loads `level` from `dir` with the given texture detail and sizes the view:
// the world, the definitions and the render context are then ready to draw.
// Camera distance 0, windowMode off (top-down buffers).
bool LoadSceneLevel(const TempDir& dir, const LevelData& level, int width, int height,
                    const std::string& detail = "High");

// Puts the local player's body centre at (x, y, z) facing `heading`, with
// the camera on him.
void PlacePlayer(float x, float y, float z, float heading, float cameraDistance);

// Number of pixels of the main buffer that differ from `colour`.
int PixelsNotOf(std::uint8_t colour);
