#include "editor/editor_actions.h"

#include <algorithm>
#include <array>
#include <utility>

#include "editor/cell_commands.h"
#include "editor/editor_state.h"
#include "editor/region_commands.h"
#include "editor/test_play.h"
#include "engine/angles.h"
#include "platform/keys.h"
#include "world/world.h"

namespace {

constexpr float kStep = 512.0f;
constexpr float kQuarterTurn = 8192.0f;
constexpr float kMaxDistance = 2048.0f;

void togglePitch(float wanted) {
    editor.pitchTarget = editor.pitchTarget == wanted ? 0.0f : wanted;
}

void clampAxis(float& target, float& shown, std::int32_t size) {
    const float low = 256.0f;
    const float high = static_cast<float>(std::int64_t{size} * worldUnit - 256);
    const float clamped = std::max(low, std::min(target, high));
    if (clamped != target) target = shown = clamped;
}

void glide(float& shown, float target, float factor) {
    shown += factor * (target - shown);
}

} // namespace

void RunEditorAction(EditorAction action, bool merge) {
    SelectorPose& t = editor.target;
    const float s = AngleSin(t.heading), c = AngleCos(t.heading);
    switch (action) {
    case EditorAction::MoveForward:
        t.x += kStep * s;
        t.z += kStep * c;
        break;
    case EditorAction::MoveBack:
        t.x -= kStep * s;
        t.z -= kStep * c;
        break;
    case EditorAction::MoveLeft:
        t.x -= kStep * c;
        t.z += kStep * s;
        break;
    case EditorAction::MoveRight:
        t.x += kStep * c;
        t.z -= kStep * s;
        break;
    case EditorAction::RotateLeft:
        t.heading -= kQuarterTurn;
        break;
    case EditorAction::RotateRight:
        t.heading += kQuarterTurn;
        break;
    case EditorAction::GoUp:
        t.y += kStep;
        break;
    case EditorAction::GoDown:
        t.y -= kStep;
        break;
    case EditorAction::ZoomIn:
        editor.distanceTarget = std::max(0.0f, editor.distanceTarget - kStep);
        break;
    case EditorAction::ZoomOut:
        editor.distanceTarget = std::min(kMaxDistance, editor.distanceTarget + kStep);
        break;
    case EditorAction::LookUp:
        togglePitch(-kQuarterTurn);
        break;
    case EditorAction::LookDown:
        togglePitch(kQuarterTurn);
        break;
    case EditorAction::PutBlock:
        // With a box selected, the box is filled or cleared as a whole.
        if (!FillRegionCommand()) PutBlock(merge);
        break;
    case EditorAction::DelBlock:
        if (!ClearRegionCommand()) DeleteCell(merge);
        break;
    case EditorAction::Brighter:
        BrightenCell(merge);
        break;
    case EditorAction::Darker:
        DarkenCell(merge);
        break;
    case EditorAction::SFX:
        PlaceMusicZone(merge);
        break;
    case EditorAction::Start:
        PlaceStart(merge);
        break;
    case EditorAction::Exit:
        PlaceExit(merge);
        break;
    }
}

void PollEditorKeys(const std::function<bool(int)>& query, const std::function<bool(int)>& isDown) {
    PollRegionKeys(query, isDown);
    const bool ctrl = isDown(kVkControl);
    const bool letters = !ctrl && !isDown(kVkMenu);
    const bool shift = isDown(kVkShift);
    editor.editKeyLastFrame = editor.editKeyThisFrame;
    editor.editKeyThisFrame = 0;

    const auto run = [](EditorAction action) { RunEditorAction(action); };
    // A move with Shift spans the selection box; without, it ends it.
    const auto move = [shift](EditorAction action) {
        BeforeSelectorMove(shift);
        RunEditorAction(action);
    };
    // An editing key held over frames adds to the step its first press made.
    const auto edit = [](int key, EditorAction action) {
        RunEditorAction(action, editor.editKeyLastFrame == key);
        editor.editKeyThisFrame = key;
    };
    const auto letter = [&](char key) { return letters && query(key) && !RegionKeyTaken(key); };

    if (query(kVkUp)) move(EditorAction::MoveForward);
    if (query(kVkDown)) move(EditorAction::MoveBack);
    if (letter('B')) move(EditorAction::GoDown);
    if (letter('H')) move(EditorAction::GoUp);
    const bool right = query(kVkRight), left = query(kVkLeft);
    if (right && !ctrl) run(EditorAction::RotateRight);
    if (left && !ctrl) run(EditorAction::RotateLeft);
    if (right && ctrl) move(EditorAction::MoveRight);
    if (left && ctrl) move(EditorAction::MoveLeft);
    const bool pageUp = query(kVkPrior), pageDown = query(kVkNext);
    if (pageUp && !editor.pageUpHeld) run(EditorAction::LookUp);
    if (pageDown && !editor.pageDownHeld) run(EditorAction::LookDown);
    editor.pageUpHeld = pageUp;
    editor.pageDownHeld = pageDown;
    // The main keyboard's + and - zoom as the keypad's do.
    // Both keys of a pair are read, so that neither keeps a press for later.
    const auto either = [&](int a, int b) {
        const bool first = query(a);
        return query(b) || first;
    };
    if (either(kVkAdd, kVkOemPlus)) run(EditorAction::ZoomIn);
    if (either(kVkSubtract, kVkOemMinus)) run(EditorAction::ZoomOut);
    if (query(kVkSpace)) edit(kVkSpace, EditorAction::PutBlock);
    if (either(kVkBack, kVkDelete)) edit(kVkDelete, EditorAction::DelBlock);
    if (letter('D')) edit('D', EditorAction::Start);
    if (letter('X')) edit('X', EditorAction::Exit);
    if (letter('S')) edit('S', EditorAction::SFX);
    if (letter('A')) edit('A', EditorAction::Darker);
    if (letter('E')) edit('E', EditorAction::Brighter);
    // Test-play starts a game: once a press, however long the key is held.
    const bool testPlay = query(kVkF9);
    if (testPlay && !editor.testPlayHeld) TestPlayCommand();
    editor.testPlayHeld = testPlay;
    const bool testHere = query(kVkF10);
    if (testHere && !editor.testHereHeld) TestPlayFromHereCommand();
    editor.testHereHeld = testHere;
}

void ClampSelector() {
    clampAxis(editor.target.x, editor.shown.x, worldGrid.sizeX);
    clampAxis(editor.target.y, editor.shown.y, worldGrid.sizeY);
    clampAxis(editor.target.z, editor.shown.z, worldGrid.sizeZ);
}

void SmoothSelector(float elapsedMs) {
    const float factor = std::min(1.0f, elapsedMs * 0.25f / 90.0f);
    glide(editor.shown.x, editor.target.x, factor);
    glide(editor.shown.y, editor.target.y, factor);
    glide(editor.shown.z, editor.target.z, factor);
    glide(editor.shown.heading, editor.target.heading, factor);
    glide(editor.pitch, editor.pitchTarget, factor);
    glide(editor.distance, editor.distanceTarget, factor);
}
