#include "editor/cell_commands.h"

#include <algorithm>

#include "editor/cell_edit.h"
#include "editor/editor_state.h"
#include "engine/angles.h"
#include "media/music_list.h"
#include "world/world.h"

namespace {

// Runs `change` on the level's values and records the difference.
template <typename Change> void editMeta(bool merge, Change change) {
    EditStep step;
    step.metaBefore = CaptureLevelMeta();
    change();
    step.metaAfter = CaptureLevelMeta();
    if (*step.metaAfter != *step.metaBefore) ApplyLevelMeta(*step.metaAfter);
    RecordStep(editor.history, std::move(step), merge);
    editor.modified = !HistoryAtSavedState(editor.history);
}

bool zoneAt(const MusicZone& zone, const CellPosition& cell) {
    return zone.x == cell.x && zone.y == cell.y && zone.z == cell.z;
}

void editPlane(PlaneAxis axis, std::uint8_t type) {
    const CellPosition c = TargetCell();
    CellEdit edit;
    const auto put = [&](int x, int y, int z) { edit.SetType(x, y, z, type); };
    switch (axis) {
    case PlaneAxis::X:
        for (int y = 0; y < worldGrid.sizeY; ++y)
            for (int z = 0; z < worldGrid.sizeZ; ++z) put(c.x, y, z);
        break;
    case PlaneAxis::Y:
        for (int x = 0; x < worldGrid.sizeX; ++x)
            for (int z = 0; z < worldGrid.sizeZ; ++z) put(x, c.y, z);
        break;
    case PlaneAxis::Z:
        for (int x = 0; x < worldGrid.sizeX; ++x)
            for (int y = 0; y < worldGrid.sizeY; ++y) put(x, y, c.z);
        break;
    }
    edit.Commit(false);
}

// The target cell's brightness becomes next(brightness).
void stepBrightness(bool merge, int (*next)(int)) {
    const CellPosition c = TargetCell();
    if (!InsideGrid(c.x, c.y, c.z)) return;
    CellEdit edit;
    edit.SetBrightness(c.x, c.y, c.z, static_cast<std::uint8_t>(next(brightnessAt(c.x, c.y, c.z))));
    edit.Commit(merge);
}

} // namespace

void PutBlock(bool merge) {
    const CellPosition c = TargetCell();
    CellEdit edit;
    edit.SetType(c.x, c.y, c.z, editor.currentObject);
    edit.Commit(merge);
}

void DeleteCell(bool merge) {
    const CellPosition c = TargetCell();
    // The cell and its music zones change together, as one step.
    CellEdit edit;
    edit.Step().metaBefore = CaptureLevelMeta();
    edit.Set(c.x, c.y, c.z, 0, 128);
    for (MusicZone& zone : levelState.musicZones)
        if (zoneAt(zone, c)) zone = MusicZone{};
    edit.Step().metaAfter = CaptureLevelMeta();
    edit.Commit(merge);
}

void BrightenCell(bool merge) {
    stepBrightness(merge, [](int b) { return b >= 254 ? 255 : b + 2; });
}

void DarkenCell(bool merge) {
    stepBrightness(merge, [](int b) { return b <= 1 ? 0 : b - 2; });
}

void PlaceStart(bool merge) {
    const CellPosition c = TargetCell();
    editMeta(merge, [&] {
        levelState.startX = c.x;
        levelState.startY = c.y;
        levelState.startZ = c.z;
        levelState.startHeading = TruncToInt(editor.target.heading);
    });
}

void PlaceExit(bool merge) {
    const CellPosition c = TargetCell();
    editMeta(merge, [&] {
        levelState.exitX = c.x;
        levelState.exitY = c.y;
        levelState.exitZ = c.z;
    });
}

void PlaceMusicZone(bool merge) {
    const CellPosition c = TargetCell();
    auto& zones = levelState.musicZones;
    if (std::any_of(zones.begin(), zones.end(), [&](const MusicZone& z) { return zoneAt(z, c); }))
        return;
    for (int i = kMusicZoneCount - 1; i >= 0; --i) {
        if (zones[i].x >= 0) continue;
        editMeta(merge, [&] { zones[i] = {c.x, c.y, c.z, 0}; });
        return;
    }
}

void FillPlane(PlaneAxis axis) {
    editPlane(axis, editor.currentObject);
}

void ClearPlane(PlaneAxis axis) {
    editPlane(axis, 0);
}

void ToggleOutside() {
    editMeta(false, [] { levelState.outside = levelState.outside ? 0 : 1; });
}

int MusicZoneAtTarget() {
    const CellPosition c = TargetCell();
    for (int i = kMusicZoneCount - 1; i >= 0; --i)
        if (zoneAt(levelState.musicZones[i], c)) return i;
    return -1;
}

int MusicIndexByName(const std::string& name) {
    for (int i = kMusicListSize - 1; i >= 0; --i)
        if (musicList[i].name == name) return i;
    return -1;
}

void ChooseMusic(const std::string& name) {
    const int zone = MusicZoneAtTarget();
    const int music = MusicIndexByName(name);
    if (zone < 0 || music < 0) return;
    editMeta(false, [&] { levelState.musicZones[zone].music = music; });
}

void ChooseObject(const std::string& name) {
    for (int i = kObjectTypeCount - 1; i >= 0; --i) {
        if (!objectTypes[i].undefined && objectTypes[i].Name == name) {
            editor.currentObject = static_cast<std::uint8_t>(i);
            return;
        }
    }
}

void SetSentryPosition(int index) {
    if (index < 0 || index >= sentryCount || index + 1 >= kSentrySlots) return;
    const CellPosition c = TargetCell();
    editMeta(false, [&] {
        SentryRecord& s = sentries[index + 1];
        s.x = static_cast<float>(std::int64_t{c.x} * worldUnit + 256);
        s.y = static_cast<float>(std::int64_t{c.y} * worldUnit + 256);
        s.z = static_cast<float>(std::int64_t{c.z} * worldUnit + 256);
        s.heading = static_cast<float>(TruncToInt(-editor.target.heading));
    });
}

bool UndoEdit() {
    if (!UndoStep(editor.history)) return false;
    editor.modified = !HistoryAtSavedState(editor.history);
    return true;
}

bool RedoEdit() {
    if (!RedoStep(editor.history)) return false;
    editor.modified = !HistoryAtSavedState(editor.history);
    return true;
}
