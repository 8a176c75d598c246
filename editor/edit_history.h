// Undo and redo of the editor's changes to the level. A step holds the cells
// it changed (old and new type and brightness) and, when it touched the
// level's own values or the sentries, those values before and after.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "formats/level_file.h"
#include "world/level_state.h"
#include "world/world.h"

struct CellChange {
    std::uint32_t index = 0; // x + X * (y + Y * z)
    std::uint8_t oldType = 0, oldBrightness = 0;
    std::uint8_t newType = 0, newBrightness = 0;
};

// The level's values beside the grid: start, exit, music zones, texts,
// outside flag, seed, and the sentry count with the stored sentry places.
struct LevelMeta {
    LevelState state;
    std::int32_t sentryCount = 0;
    std::array<LevelSentry, kSentrySlots> sentries{};
    bool operator==(const LevelMeta&) const = default;
};

// The whole grid, for a step that changes the grid's sizes.
struct GridSnapshot {
    std::int32_t sizeX = 0, sizeY = 0, sizeZ = 0;
    std::vector<std::uint8_t> cells, brightness;
};

struct EditStep {
    std::vector<CellChange> cells;
    std::optional<LevelMeta> metaBefore, metaAfter;
    // Set together: the grid is replaced whole (before the cell changes and
    // the values are applied).
    std::shared_ptr<const GridSnapshot> gridBefore, gridAfter;
};

constexpr std::size_t kNoSavedStep = static_cast<std::size_t>(-1);
constexpr std::size_t kHistoryLimit = 500;
// The whole grids that steps hold stay within this many bytes: beyond it the
// oldest steps go (the newest is always kept).
constexpr std::size_t kGridHistoryBytes = std::size_t{512} << 20;

struct EditHistory {
    std::vector<EditStep> steps;
    std::size_t position = 0;      // steps before it are done, from it on undone
    std::size_t savedPosition = 0; // position when the level was last saved or loaded
};

LevelMeta CaptureLevelMeta();
GridSnapshot CaptureGrid();
// Makes the grid the snapshot's (sizes, cells, brightness) and recounts the
// ingots; false, with the grid unchanged, when it cannot be allocated.
bool RestoreGrid(const GridSnapshot& grid);
// Puts the values into the world and starts the sentries again from their
// stored places.
void ApplyLevelMeta(const LevelMeta& meta);

// Adds a done step, dropping the undone ones. With `merge` the step joins the
// last one (a held key's repeats are one step), unless the level was saved
// right after that one. Empty steps are not kept.
void RecordStep(EditHistory& history, EditStep step, bool merge);
bool UndoStep(EditHistory& history);
bool RedoStep(EditHistory& history);
void ClearHistory(EditHistory& history);
void MarkHistorySaved(EditHistory& history);
bool HistoryAtSavedState(const EditHistory& history);
