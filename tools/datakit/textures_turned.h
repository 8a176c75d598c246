// Copies of textures turned back for the cube sides that turn them. The
// vertex order of the cube's side faces (draw/cube_faces.cpp) shows a
// texture a quarter turn round on sides B and C and half a turn round on
// side D; the definition file gives those sides these copies, so that a
// wall reads the same from every side.
#pragma once

#include <cstdint>
#include <vector>

// Texture N as sides B and C need it is 100 + N; as side D needs it, 200 + N.
constexpr int kQuarterTurnedOffset = 100;
constexpr int kHalfTurnedOffset = 200;

// The bank's textures whose pattern has an up and a down (courses, grain,
// hanging grass and moss, emblems, light from the upper left) and that
// cube sides use.
const std::vector<int>& DirectionalTextures();

// A 128 x 128 image (row-major) turned for sides B and C: the pixel at row
// r, column c is the original's at row 127 - c, column r.
std::vector<std::uint8_t> QuarterTurned(const std::vector<std::uint8_t>& image);
// Turned for side D: the original read backwards.
std::vector<std::uint8_t> HalfTurned(const std::vector<std::uint8_t>& image);
