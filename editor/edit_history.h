// Undo and redo of the editor's changes to the level. A step holds the cells
// it changed (old and new type and brightness) and, when it touched the
// level's own values or the sentries, those values before and after.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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

struct EditStep {
    std::vector<CellChange> cells;
    std::optional<LevelMeta> metaBefore, metaAfter;
};

constexpr std::size_t kNoSavedStep = static_cast<std::size_t>(-1);
constexpr std::size_t kHistoryLimit = 500;

struct EditHistory {
    std::vector<EditStep> steps;
    std::size_t position = 0;      // steps before it are done, from it on undone
    std::size_t savedPosition = 0; // position when the level was last saved or loaded
};

LevelMeta CaptureLevelMeta();
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
