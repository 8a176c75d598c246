#include "world/models.h"

std::array<MeshSlot, 3> transitionMeshes;
MeshSlot podiumMesh;
MeshSlot flagMesh;
MeshSlot markerMesh;
MeshSlot enemyMesh;
MeshSlot skyMesh;
TSoundBuffer* enemySeenSound = nullptr;
TSoundBuffer* enemyLostSound = nullptr;
bool texturedFaces = false;
