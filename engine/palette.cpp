#include "engine/palette.h"

int NearestPaletteEntry(const PalettePlanes& palette, int r, int g, int b, int first, int last) {
    if (last < first) return first;
    int best = first;
    long long bestDistance = -1;
    for (int i = first; i <= last; ++i) {
        const long long dr = palette[i] - r;
        const long long dg = palette[256 + i] - g;
        const long long db = palette[512 + i] - b;
        const long long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance <= bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}
