#include "editor/editor_view.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <utility>

#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "draw/scene_steps.h"
#include "editor/editor_actions.h"
#include "editor/editor_state.h"
#include "editor/selection_view.h"
#include "editor/view_pick.h"
#include "engine/angles.h"
#include "engine/mesh.h"
#include "engine/nearest_colour.h"
#include "engine/render_context.h"
#include "media/display.h"
#include "media/music_player.h"
#include "platform/keys.h"
#include "world/animation.h"
#include "world/frame_clock.h"
#include "world/models.h"
#include "world/sound_listener.h"
#include "world/view_box.h"
#include "world/world.h"

namespace {

enum Marker { kSelect, kStart, kMusic, kExit, kMarkerCount };
std::array<MeshSlot, kMarkerCount> markers;

std::int32_t centre(int cell) {
    return static_cast<std::int32_t>(std::int64_t{cell} * worldUnit + 256);
}

bool inBox(const ViewBox& box, int x, int y, int z) {
    return x >= box.loX && x <= box.hiX && y >= box.loY && y <= box.hiY && z >= box.loZ &&
           z <= box.hiZ;
}

// The level view's camera: behind the shown selector at the editor's
// distance and pitch, turned toward it.
struct ViewCamera {
    std::int32_t x = 0, y = 0, z = 0;
    std::int32_t yaw = 0;
    float pitch = 0;
};

ViewCamera viewCamera() {
    const SelectorPose& s = editor.shown;
    const float phi = s.heading + editor.headingOffset;
    const float p = editor.pitch, rho = editor.distance;
    ViewCamera c;
    c.x = TruncToInt(s.x) + RoundEven(rho * AngleSin(phi) * AngleCos(p));
    c.y = TruncToInt(s.y) + 60 + RoundEven(rho * AngleSin(p + 16384));
    c.z = TruncToInt(s.z) + RoundEven(rho * AngleCos(phi) * AngleCos(p));
    c.yaw = TruncToInt(phi + 16384);
    c.pitch = p;
    return c;
}

// The box heard from: ambient loops start within the game's own reach,
// whatever the view distance.
ViewBox hearingBox(const ViewCamera& c) {
    return ViewBoxAround(worldGrid, static_cast<float>(c.x), static_cast<float>(c.y),
                         static_cast<float>(c.z));
}

int viewReach() {
    if (editor.viewDistance > 0) return editor.viewDistance;
    // The whole level from anywhere in it, the camera outside it included.
    const std::int64_t side = std::max({worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ, 1});
    return static_cast<int>(std::min<std::int64_t>(side + 8, 1 << 20));
}

ViewBox drawnBox(const ViewCamera& c) {
    return ViewBoxAround(worldGrid, static_cast<float>(c.x), static_cast<float>(c.y),
                         static_cast<float>(c.z), viewReach());
}

// Polygons a far view may queue: the sides facing the camera of a level's
// outer surfaces. Beyond it the farthest submitted cells would be dropped.
constexpr int kFarViewQueue = 1 << 18;

// A player record standing for the editor's camera, for the scene steps that
// take one: no action cell, the camera's angles for the sky.
PlayerRecord cameraRecord(float yaw, float pitch) {
    PlayerRecord p;
    p.actionCell = {-1, -1, -1};
    p.cameraYaw = yaw;
    p.cameraPitch = pitch;
    return p;
}

} // namespace

Loaded<> LoadEditorMarkers() {
    NearestColourIndex index;
    BuildNearestColourIndex(renderContext.palette, 1, 255, index);
    struct Wanted {
        const char* file;
        int r, g, b;
    };
    const std::array<Wanted, kMarkerCount> wanted = {{{"3do/editor/select.3do", 255, 255, 255},
                                                      {"3do/editor/start.3do", 255, 255, 255},
                                                      {"3do/editor/sfx.3do", 0, 255, 255},
                                                      {"3do/editor/exit.3do", 255, 255, 0}}};
    for (int i = 0; i < kMarkerCount; ++i) {
        Loaded<Mesh> mesh = ReadMeshFile(wanted[i].file);
        if (!mesh) return LoadFailure{mesh.error};
        const int colour = FindNearestColour(index, wanted[i].r, wanted[i].g, wanted[i].b);
        for (Face& face : mesh->faces) {
            face.kind = kFaceFlat;
            face.texture = static_cast<std::uint16_t>(colour);
        }
        markers[i] = std::move(*mesh);
    }
    BuildSelectionBars(renderContext.palette);
    return LoadedDone();
}

void LevelViewBufferSize(int viewWidth, int viewHeight, int& width, int& height) {
    const int side = std::max(viewWidth, viewHeight);
    const std::array<std::array<int, 3>, 4> sizes = {
        {{800, 800, 600}, {640, 640, 480}, {512, 512, 348}, {320, 320, 240}}};
    width = 160;
    height = 120;
    for (const auto& s : sizes) {
        if (side >= s[0]) {
            width = s[1];
            height = s[2];
            return;
        }
    }
}

bool IsViewDistance(int cells) {
    return std::find(std::begin(kViewDistances), std::end(kViewDistances), cells) !=
           std::end(kViewDistances);
}

std::string ViewDistanceName(int cells) {
    return cells > 0 ? std::to_string(cells) + " cells" : "Whole level";
}

ViewBox EditorViewBox() {
    return drawnBox(viewCamera());
}

PictureArea FitPicture(int areaWidth, int areaHeight) {
    PictureArea r;
    const std::int64_t w = std::max(areaWidth, 0), h = std::max(areaHeight, 0);
    if (w * 3 <= h * 4) {
        r.width = static_cast<int>(w);
        r.height = static_cast<int>(w * 3 / 4);
    } else {
        r.height = static_cast<int>(h);
        r.width = static_cast<int>(h * 4 / 3);
    }
    r.x = static_cast<int>((w - r.width) / 2);
    r.y = static_cast<int>((h - r.height) / 2);
    return r;
}

void RunEditorFrame(bool readKeys) {
    PollMusic();
    AdvanceFrameClock();
    if (readKeys) PollEditorKeys(QueryKey, KeyIsDown);
    PollMusic();
    updateObjectAnimation();
    ClampSelector();
    SmoothSelector(static_cast<float>(frameMs));
    // Heard from the view's camera: the loops around it start, and every
    // playing voice follows the camera's turn.
    const ViewCamera camera = viewCamera();
    PlaceSoundListener(camera.x, camera.y, camera.z, camera.yaw, TruncToInt(camera.pitch), 0);
    StartDueLoopSounds(hearingBox(camera));
    VoicesFollowListener();
}

void DrawEditorView() {
    const SelectorPose& s = editor.shown;
    const ViewCamera view = viewCamera();
    const ViewBox box = drawnBox(view);
    if (box.reach > 8) ReserveQueue(kFarViewQueue);
    const PlayerRecord camera = cameraRecord(static_cast<float>(view.yaw), view.pitch);
    ClearFrame((*renderContext.shadeTable)[255]);
    scene::DrawSky(world, camera);

    SetCamera(view.x, view.y, view.z, view.yaw, TruncToInt(view.pitch), 0);
    RememberLevelViewCamera();
    AddLight(TruncToInt(s.x), TruncToInt(s.y), TruncToInt(s.z), editor.selectorLight);
    scene::DrawShadowInBox(world, box, MeshOrNull(players[0].shadowMesh),
                           TruncToInt(-s.heading - 8192), s.x, s.y, s.z);
    scene::DrawSentries(world, box);
    scene::DrawTransitionSlots(world, box);
    scene::DrawSlidingBlocks(world);
    if (box.reach > 8)
        scene::DrawCellsFar(world, box, camera);
    else
        scene::DrawCells(world, box, camera);

    // The selector is drawn where it glides; the commands act on its target.
    SubmitMesh(MeshOrNull(markers[kSelect]), TruncToInt(s.x), TruncToInt(s.y), TruncToInt(s.z), 0,
               128);
    if (const std::optional<CellBox> selected = SelectedBox()) SubmitSelectionBox(*selected, box);
    const LevelState& l = levelState;
    if (inBox(box, l.startX, l.startY, l.startZ))
        SubmitMesh(MeshOrNull(markers[kStart]), centre(l.startX), centre(l.startY),
                   centre(l.startZ), 0, 0, -l.startHeading);
    if (inBox(box, l.exitX, l.exitY, l.exitZ))
        SubmitMesh(MeshOrNull(markers[kExit]), centre(l.exitX), centre(l.exitY), centre(l.exitZ), 0,
                   0);
    for (const MusicZone& zone : l.musicZones)
        if (zone.x != kUnusedMusicZone && inBox(box, zone.x, zone.y, zone.z))
            SubmitMesh(MeshOrNull(markers[kMusic]), centre(zone.x), centre(zone.y), centre(zone.z),
                       0, 0);
    DrawQueue();
}

void DrawEditorPreview(FrameBuffer& buffer) {
    RenderContext& rc = renderContext;
    if (buffer.width != 256) MakeBitmapDescription(buffer, 256, 256);
    ApplyPalette(buffer, rc.palette);
    const Projection saved = rc.projection;
    std::swap(rc.mainBuffer, buffer);
    // The preview's projection; the queue the level view sized is kept.
    Projection& view = rc.projection;
    view.cx = view.cy = 128;
    view.maxX = view.maxY = 255;
    view.fx = view.fy = 256;
    view.planeScale = 4;
    view.nearDistance = 10;
    view.segmentLength = 16;
    std::fill(rc.mainBuffer.pixels.begin(), rc.mainBuffer.pixels.end(), 0);
    SetCamera(0, 0, -editor.previewDistance, 0, 0, 0);
    AddLight(0, 0, 0, 10000);
    const ObjectType& type = objectTypes[editor.currentObject];
    if (!type.undefined) {
        if (type.Cube) {
            ApplyCubeFaces(type, texturedFaces);
            for (const MeshSlot& face : cubeFaceMeshes)
                SubmitMesh(MeshOrNull(face), 0, 0, 0, type.Transparency, 0, editor.previewYaw,
                           editor.previewPitch);
        } else {
            SubmitMesh(MeshOrNull(type.workMesh), 0, 0, 0, type.Transparency, 0, editor.previewYaw,
                       editor.previewPitch);
        }
    }
    DrawQueue();
    std::swap(rc.mainBuffer, buffer);
    rc.projection = saved;
}

void DragPreview(bool left, bool right, int dx, int dy) {
    if (left) {
        editor.previewYaw += 100 * dx;
        editor.previewPitch -= 100 * dy;
    }
    if (right) editor.previewYaw = editor.previewPitch = 0;
}
