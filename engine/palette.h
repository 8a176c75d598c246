// Palette searches shared by the picture loader, the colour tables and the display.
#pragma once

#include <cstdint>

#include "media/frame_buffer.h"

// Index in first..last whose colour is closest (squared distance) to (r, g, b);
// among equal distances the highest index. When last < first, first.
int NearestPaletteEntry(const PalettePlanes& palette, int r, int g, int b, int first, int last);
