// STAND-IN until the behaviours are built: cells change at once.
#include "world/behaviours.h"

#include "world/world.h"

void startCellTransition(int x, int y, int z, int finalType, int) {
    setCell(x, y, z, finalType);
}
void finishCellTransition(int) {}
void operateLever(int, int, int) {}
void openDoors(int) {}
void digHole(int, int, int, std::int32_t) {}
void refillHole(int) {}
void pushBlock(int, int, int, std::int32_t) {}
void settleBlock(int) {}
bool sensorsAllCovered(int) {
    return true;
}
