// The meshes and sounds a definition file gives beside the object types: the
// screen transitions, the podium and flag of the end screen, the sentry and
// its sounds, the sky, and how cube sides are dressed. The definition loader
// fills them; the scene, the screens and the sentries read them.
#pragma once

#include <array>

#include "engine/mesh.h"

class TSoundBuffer;

extern std::array<MeshSlot, 3> transitionMeshes; // "3do\Game\Transi1.3do".."Transi3.3do"
extern MeshSlot podiumMesh;
extern MeshSlot flagMesh;
extern MeshSlot markerMesh; // built in code: a small triangle
extern MeshSlot enemyMesh;  // key Ennemy_Mesh
extern MeshSlot skyMesh;    // key Sky; a file without one keeps the last
extern TSoundBuffer* enemySeenSound;
extern TSoundBuffer* enemyLostSound;

// True when cube faces are drawn with their textures ("High" detail), false
// for flat colours.
extern bool texturedFaces;
