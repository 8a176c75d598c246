// What happens to cells when the world acts on them: transition slots that
// play an animation in a cell before it takes its final type, levers and the
// doors they open, ingot doors, holes that are dug and refill, pushed blocks
// that settle, and key blocks on sensors.
#pragma once

#include <cstdint>

// Plays animType's animation in the cell, then writes finalType; at once
// when no slot is free.
void startCellTransition(int x, int y, int z, int finalType, int animType);
void finishCellTransition(int slot);

void operateLever(int x, int y, int z);
void openDoors(int doorType);

// Empties an ingot cell; the ingot type's door opens when its last cell is
// gone.
void TakeIngot(int x, int y, int z);

void digHole(int x, int y, int z, std::int32_t refillDelay);
void refillHole(int index);

void pushBlock(int x, int y, int z, std::int32_t heading);
void settleBlock(int index);
bool sensorsAllCovered(int sensorType);
