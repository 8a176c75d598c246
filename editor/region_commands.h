// The region tools: copy, cut and paste through the clipboard, clearing and
// filling the selected box, and turning or mirroring the clipboard. Each
// command that changes the level is one undo step.
#pragma once

#include <functional>
#include <string>

#include "editor/clipboard.h"

// Copy and cut take the selected box, or the selector's target cell when
// nothing is selected. Every box command refuses a box of more than 2^24
// cells with a message (its copy and undo step would take gigabytes).
void CopyRegionCommand();
// Copies, then clears the box as Delete clears a cell; the sentries inside
// stay until the paste moves them.
void CutRegionCommand();
// Puts the clipboard with its low corner at the target cell: cells (type,
// brightness, music zone), and its sentries: a cut's sentries still where the
// cut found them are moved, others are copied while the level has room for
// them. What lies beyond the level's edge is left out and said.
void PasteCommand();
// The selected box's cells become type 0 with brightness 128, their music
// zones freed; false when nothing is selected.
bool ClearRegionCommand();
// The selected box's cells take the current object; false when nothing is
// selected.
bool FillRegionCommand();
// Turns or mirrors the clipboard (the level is not changed).
void TransformClipboardCommand(ClipTransform transform);

// Reads the region keys: Ctrl+C, Ctrl+X, Ctrl+V; R turns the clipboard right
// (with Shift left), M mirrors it across x (with Shift across z), Escape ends
// the selection. Called before the other keys, so that a chord's letter is
// known to be taken (RegionKeyTaken).
void PollRegionKeys(const std::function<bool(int)>& query, const std::function<bool(int)>& isDown);
// True while `key` is held as the letter of a Ctrl chord.
bool RegionKeyTaken(int key);

// A passing remark (the status bar in the window): set by the window.
extern std::function<void(const std::string&)> regionNotice;
