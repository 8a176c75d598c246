// One editing command's changes to the level, collected as they are written
// so that the command becomes one undo step: cells (type and brightness) and,
// when asked, the level's own values before and after.
#pragma once

#include <cstdint>

#include "editor/edit_history.h"

class CellEdit {
  public:
    // Writes the cell (through setCell, which keeps the ingot counts) and
    // remembers the change; cells outside the grid are left alone.
    void Set(int x, int y, int z, std::uint8_t type, std::uint8_t brightness);
    void SetType(int x, int y, int z, std::uint8_t type);
    void SetBrightness(int x, int y, int z, std::uint8_t brightness);
    EditStep& Step() { return step_; }
    // The level's values now, as they were before the command.
    void CaptureMetaBefore();
    // The level's values now, as the command leaves them.
    void CaptureMetaAfter();
    // Records the step (joined to the previous one with `merge`) and updates
    // the modified flag.
    void Commit(bool merge);

  private:
    EditStep step_;
};
