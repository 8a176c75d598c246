// The box a mesh fills in its cell, in cell-local units (0..511).
#pragma once

#include <array>
#include <cstdint>

#include "world/world.h"

struct Mesh;

// Xmin, Xmax, Ymin, Zmin, Zmax from the extremes of the vertices, and the four
// corner heights from the highest vertex over each quarter of the box. A
// missing mesh gives a box no point can be inside (Xmin above Xmax).
std::array<std::int32_t, kBoxValues> computeMeshBox(const Mesh* mesh);
