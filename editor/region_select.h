// The box of cells the author spans with Shift and the selector keys: from an
// anchor cell, fixed when the first Shift move starts the box, to the
// selector's target cell.
#pragma once

#include <optional>

struct CellPosition;

struct CellTriple {
    int x = 0, y = 0, z = 0;
    bool operator==(const CellTriple&) const = default;
};

// Inclusive on both ends, low <= high on every axis.
struct CellBox {
    CellTriple low, high;
    bool operator==(const CellBox&) const = default;
};

struct RegionSelection {
    bool active = false;
    CellTriple anchor;
    // A box spanned with the mouse ends at `end` rather than at the selector.
    bool dragged = false;
    CellTriple end;
};

// The box of two corners in any order.
CellBox BoxOfCorners(const CellTriple& a, const CellTriple& b);
CellTriple BoxSize(const CellBox& box);
bool BoxContains(const CellBox& box, int x, int y, int z);
// The part of the box inside the grid; nullopt when none is.
std::optional<CellBox> ClipBoxToGrid(const CellBox& box);

// The selected box (anchor to target cell, or to the mouse's end cell,
// inside the grid), or nullopt when nothing is selected.
std::optional<CellBox> SelectedBox();

// Called before a key or icon moves the selector to another cell: with
// `extend` (Shift held) the box starts at the cell the selector leaves, or
// keeps its anchor (and then follows the selector again); without, the
// selection ends.
void BeforeSelectorMove(bool extend);
void ClearSelection();

// The region tools' keys that act once a press (a chord's letter stays
// claimed until it is let go, so it is not read as a plain letter).
struct RegionKeysHeld {
    bool copy = false, cut = false, paste = false, turn = false, mirror = false;
};
