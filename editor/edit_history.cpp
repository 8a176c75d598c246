#include "editor/edit_history.h"

#include <algorithm>

#include "world/level_start.h"
#include "world/sentry_init.h"

namespace {

void writeCell(std::uint32_t index, std::uint8_t type, std::uint8_t brightness) {
    if (index >= worldGrid.cells.size()) return;
    const std::int64_t plane = std::int64_t{worldGrid.sizeX} * worldGrid.sizeY;
    const int z = static_cast<int>(index / plane);
    const int y = static_cast<int>((index % plane) / worldGrid.sizeX);
    const int x = static_cast<int>(index % worldGrid.sizeX);
    setCell(x, y, z, type); // keeps the ingot counts
    worldGrid.brightness[index] = brightness;
}

void applyStep(const EditStep& step, bool forward) {
    if (step.gridBefore && step.gridAfter)
        (void)RestoreGrid(forward ? *step.gridAfter : *step.gridBefore);
    if (forward) {
        for (const CellChange& c : step.cells) writeCell(c.index, c.newType, c.newBrightness);
        if (step.metaAfter) ApplyLevelMeta(*step.metaAfter);
    } else {
        for (auto it = step.cells.rbegin(); it != step.cells.rend(); ++it)
            writeCell(it->index, it->oldType, it->oldBrightness);
        if (step.metaBefore) ApplyLevelMeta(*step.metaBefore);
    }
}

void dropOldestStep(EditHistory& history) {
    history.steps.erase(history.steps.begin());
    --history.position;
    history.savedPosition = history.savedPosition == 0 || history.savedPosition == kNoSavedStep
                                ? kNoSavedStep
                                : history.savedPosition - 1;
}

std::size_t gridBytes(const EditHistory& history) {
    std::size_t bytes = 0;
    for (const EditStep& step : history.steps)
        for (const auto* grid : {step.gridBefore.get(), step.gridAfter.get()})
            if (grid) bytes += grid->cells.size() + grid->brightness.size();
    return bytes;
}

} // namespace

GridSnapshot CaptureGrid() {
    return {worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ, worldGrid.cells,
            worldGrid.brightness};
}

bool RestoreGrid(const GridSnapshot& grid) {
    if (!ResizeWorldGrid(grid.sizeX, grid.sizeY, grid.sizeZ)) return false;
    if (grid.cells.size() != worldGrid.cells.size() ||
        grid.brightness.size() != worldGrid.brightness.size())
        return false;
    worldGrid.cells = grid.cells;
    worldGrid.brightness = grid.brightness;
    RecountIngots();
    return true;
}

LevelMeta CaptureLevelMeta() {
    LevelMeta meta;
    meta.state = levelState;
    meta.sentryCount = sentryCount;
    for (int i = 1; i < kSentrySlots; ++i)
        meta.sentries[i] = {sentries[i].x, sentries[i].y, sentries[i].z, sentries[i].heading};
    return meta;
}

void ApplyLevelMeta(const LevelMeta& meta) {
    levelState = meta.state;
    sentryCount = meta.sentryCount;
    for (int i = 1; i < kSentrySlots; ++i) {
        sentries[i].x = meta.sentries[i].x;
        sentries[i].y = meta.sentries[i].y;
        sentries[i].z = meta.sentries[i].z;
        sentries[i].heading = meta.sentries[i].heading;
    }
    InitSentries();
}

void RecordStep(EditHistory& history, EditStep step, bool merge) {
    if (step.metaBefore && step.metaAfter && *step.metaBefore == *step.metaAfter) {
        step.metaBefore.reset();
        step.metaAfter.reset();
    }
    if (step.cells.empty() && !step.metaAfter && !step.gridAfter) return;
    history.steps.resize(history.position);
    if (history.savedPosition > history.position) history.savedPosition = kNoSavedStep;
    const bool canMerge = merge && !step.gridAfter && history.position > 0 &&
                          history.savedPosition != history.position &&
                          !history.steps.back().gridAfter;
    if (canMerge) {
        EditStep& last = history.steps.back();
        last.cells.insert(last.cells.end(), step.cells.begin(), step.cells.end());
        if (step.metaAfter) {
            if (!last.metaBefore) last.metaBefore = step.metaBefore;
            last.metaAfter = step.metaAfter;
        }
        return;
    }
    history.steps.push_back(std::move(step));
    ++history.position;
    if (history.steps.size() > kHistoryLimit) dropOldestStep(history);
    while (history.steps.size() > 1 && gridBytes(history) > kGridHistoryBytes)
        dropOldestStep(history);
}

bool UndoStep(EditHistory& history) {
    if (history.position == 0) return false;
    --history.position;
    applyStep(history.steps[history.position], false);
    return true;
}

bool RedoStep(EditHistory& history) {
    if (history.position >= history.steps.size()) return false;
    applyStep(history.steps[history.position], true);
    ++history.position;
    return true;
}

void ClearHistory(EditHistory& history) {
    history = EditHistory{};
}

void MarkHistorySaved(EditHistory& history) {
    history.savedPosition = history.position;
}

bool HistoryAtSavedState(const EditHistory& history) {
    return history.savedPosition == history.position;
}
