// The six meshes a cube type is drawn with, one per side (A..F: low z, high
// x, high z, low x, top, bottom), re-dressed with the type's colours or
// textures before each cube is submitted.
#pragma once

#include <array>

#include "engine/mesh.h"

struct ObjectType;

extern std::array<MeshSlot, 6> cubeFaceMeshes;
void BuildCubeFaceMeshes();
// Gives the face meshes the face values of a cube type before it is drawn.
void ApplyCubeFaces(const ObjectType& type, bool textured);
