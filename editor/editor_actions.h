// The selector's moves and the editing keys: one action per icon of the
// panel, the keys polled once a frame in a fixed order, clamping to the grid
// and the smooth glide of the shown selector towards its target.
#pragma once

#include <functional>

enum class EditorAction {
    MoveForward,
    MoveBack,
    MoveLeft,
    MoveRight,
    RotateLeft,
    RotateRight,
    GoUp,
    GoDown,
    ZoomIn,
    ZoomOut,
    LookUp,
    LookDown,
    PutBlock,
    DelBlock,
    Brighter,
    Darker,
    SFX,
    Start,
    Exit,
};

// Runs one action as its icon does; `merge` joins an editing action to the
// previous undo step.
void RunEditorAction(EditorAction action, bool merge = false);

// Reads the keys in their order (Up, Down, B, H, Right, Left, Ctrl+Right,
// Ctrl+Left, Page Up, Page Down, +, -, Space, Backspace or Delete, D, X, S,
// A, E, then F9 for test-play and F10 for test-play from the selector) and
// runs their actions. `query` answers "down
// now or pressed since the last query", `isDown` whether a key is down now. A
// held key repeats every frame, except the two page keys, F9 and F10, which act
// once a press; letter keys are not read while Ctrl or Alt is held.
void PollEditorKeys(const std::function<bool(int)>& query, const std::function<bool(int)>& isDown);

// Keeps the target inside the grid (cell centres of the first and last cell);
// a clamped coordinate is also written into the shown position.
void ClampSelector();

// Moves every shown value towards its target by elapsed * 0.25 / 90 of the
// distance, at most the whole distance.
void SmoothSelector(float elapsedMs);
