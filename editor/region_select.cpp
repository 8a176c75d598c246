#include "editor/region_select.h"

#include <algorithm>

#include "editor/editor_state.h"
#include "world/world.h"

CellBox BoxOfCorners(const CellTriple& a, const CellTriple& b) {
    return {{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)},
            {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}};
}

CellTriple BoxSize(const CellBox& box) {
    return {box.high.x - box.low.x + 1, box.high.y - box.low.y + 1, box.high.z - box.low.z + 1};
}

bool BoxContains(const CellBox& box, int x, int y, int z) {
    return x >= box.low.x && x <= box.high.x && y >= box.low.y && y <= box.high.y &&
           z >= box.low.z && z <= box.high.z;
}

std::optional<CellBox> ClipBoxToGrid(const CellBox& box) {
    const CellBox clipped{{std::max(box.low.x, 0), std::max(box.low.y, 0), std::max(box.low.z, 0)},
                          {std::min(box.high.x, worldGrid.sizeX - 1),
                           std::min(box.high.y, worldGrid.sizeY - 1),
                           std::min(box.high.z, worldGrid.sizeZ - 1)}};
    if (clipped.low.x > clipped.high.x || clipped.low.y > clipped.high.y ||
        clipped.low.z > clipped.high.z)
        return std::nullopt;
    return clipped;
}

std::optional<CellBox> SelectedBox() {
    if (!editor.selection.active) return std::nullopt;
    const CellPosition t = TargetCell();
    const CellTriple end =
        editor.selection.dragged ? editor.selection.end : CellTriple{t.x, t.y, t.z};
    return ClipBoxToGrid(BoxOfCorners(editor.selection.anchor, end));
}

void BeforeSelectorMove(bool extend) {
    if (!extend) {
        editor.selection.active = false;
        return;
    }
    if (editor.selection.active) {
        editor.selection.dragged = false;
        return;
    }
    const CellPosition t = TargetCell();
    editor.selection = {true, {t.x, t.y, t.z}, false, {}};
}

void ClearSelection() {
    editor.selection.active = false;
}
