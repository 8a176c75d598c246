#include "editor/cell_edit.h"

#include <utility>

#include "editor/editor_state.h"
#include "world/world.h"

void CellEdit::Set(int x, int y, int z, std::uint8_t type, std::uint8_t brightness) {
    if (!InsideGrid(x, y, z)) return;
    const auto index = static_cast<std::uint32_t>(x + std::int64_t{worldGrid.sizeX} *
                                                          (y + std::int64_t{worldGrid.sizeY} * z));
    const std::uint8_t oldType = worldGrid.cells[index];
    const std::uint8_t oldBrightness = worldGrid.brightness[index];
    if (oldType == type && oldBrightness == brightness) return;
    setCell(x, y, z, type);
    worldGrid.brightness[index] = brightness;
    step_.cells.push_back({index, oldType, oldBrightness, type, brightness});
}

void CellEdit::SetType(int x, int y, int z, std::uint8_t type) {
    Set(x, y, z, type, brightnessAt(x, y, z));
}

void CellEdit::SetBrightness(int x, int y, int z, std::uint8_t brightness) {
    Set(x, y, z, cellAt(x, y, z), brightness);
}

void CellEdit::CaptureMetaBefore() {
    step_.metaBefore = CaptureLevelMeta();
}

void CellEdit::CaptureMetaAfter() {
    step_.metaAfter = CaptureLevelMeta();
}

void CellEdit::Commit(bool merge) {
    RecordStep(editor.history, std::move(step_), merge);
    editor.modified = !HistoryAtSavedState(editor.history);
    step_ = {};
}
