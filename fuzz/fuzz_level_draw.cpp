// Level files of any content, once parsed, go into the world and are drawn:
// the grid, start and sentries of the file meet the action cell, the follow
// camera, the pose blending, the view box, the cells, figures and shadows,
// the radar and the level title.
#include <cstddef>
#include <cstdint>

#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "draw/scene.h"
#include "formats/definitions.h"
#include "formats/level_file.h"
#include "platform/message_box.h"
#include "support/data_set.h"
#include "world/frame_clock.h"
#include "world/local_view.h"
#include "world/title_overlay.h"
#include "world/world.h"

namespace {

// Cubes with textures, a see-through one and a diggable one; mesh types
// that morph, that slope (box keys) and that are ladders.
const char* const kObjects =
    "[Object 1]\nCube=TRUE\nFaceATexture=0\nFaceBTexture=1\nFaceETexture=1\n"
    "[Object 2]\nCube=TRUE\nTransparency=50\nFaceATexture=1\n"
    "[Object 3]\nCube=FALSE\nMesh1=hero.3do\nMesh2=enemy.3do\nMorph=TRUE\nSpeed=50\n"
    "[Object 4]\nCube=FALSE\nMesh1=shadow.3do\nYmax1=-256\nYmax2=200\nYmax3=200\nXmin=-256\n"
    "[Object 5]\nCube=TRUE\nDig=TRUE\nFaceETexture=1\n"
    "[Object 6]\nCube=FALSE\nMesh1=flag.3do\nLadder=TRUE\nTransparency=30\nCollision=FALSE\n";

bool Prepare() {
    static TempDir dir;
    static ScopedCurrentDir cd(dir.path());
    SetMessageBoxHandler([](const std::string&) {});
    WriteMiniDataSet(dir, kObjects);
    if (!LoadDefinitions(kDefinitionFile, "High")) return false;
    BuildCubeFaceMeshes();
    windowMode = false;
    SetupViewport(64, 48);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = Prepare();
    if (!ready) __builtin_trap();
    const auto level = ParseLevel(data, size);
    if (!level || !ApplyLevel(*level)) return 0;
    // Every figure is drawn, the local one from a follow view.
    localPlayer = 0;
    lastPlayer = kPlayerCount - 1;
    players[0].cameraDistance = 1024;
    Now = 1000;
    frameMs = 50;
    StartTitleOverlay();
    for (int frame = 0; frame < 2; ++frame) {
        UpdateLocalView();
        DrawPlayFrame(world);
        Now += frameMs;
    }
    return 0;
}
