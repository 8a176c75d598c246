#include "world/action_cell.h"

#include <limits>

#include "engine/angles.h"
#include "world/world.h"

void UpdateActionCell(PlayerRecord& player) {
    const int row = CellOf(player.y - 512.0f);
    const float ahead = AngleSin(player.heading);
    const float across = AngleCos(player.heading);
    const float half = static_cast<float>(player.width) * 0.5f;

    float reach = 512.0f - half;
    int column = CellOf(player.x + ahead * reach);
    int depth = CellOf(player.z + across * reach);
    // Standing near the back of a cell the short reach stays in it.
    if (column == CellOf(player.x) && depth == CellOf(player.z)) {
        reach = 768.0f - half;
        column = CellOf(player.x + ahead * reach);
        depth = CellOf(player.z + across * reach);
    }

    // No row above the last an int can number (a start far outside every
    // grid): the action then stays in the player's own row.
    bool onTop = false;
    if (row < std::numeric_limits<int>::max()) {
        const ObjectType& above = objectTypes[cellAt(column, row + 1, depth)];
        onTop = !above.undefined && !above.Dig;
    }
    player.actionCell = {column, onTop ? row + 1 : row, depth};
}
