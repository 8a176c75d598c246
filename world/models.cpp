#include "world/models.h"

std::array<Mesh*, 3> transitionMeshes{};
Mesh* podiumMesh = nullptr;
Mesh* flagMesh = nullptr;
Mesh* markerMesh = nullptr;
Mesh* enemyMesh = nullptr;
Mesh* skyMesh = nullptr;
TSoundBuffer* enemySeenSound = nullptr;
TSoundBuffer* enemyLostSound = nullptr;
bool texturedFaces = false;
