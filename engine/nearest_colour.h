// Nearest palette entry over a fixed palette and index range, answering
// exactly as NearestPaletteEntry (squared distance, highest index on ties)
// but fast enough for the million searches of the colour tables.
//
// The colour cube is cut into cells; each cell keeps the few entries that can
// be nearest to some point inside it, so a search scans a short list instead
// of the whole palette.
#pragma once

#include <cstdint>
#include <vector>

#include "media/frame_buffer.h"

constexpr int kColourCellShift = 4; // cells of 16 x 16 x 16 colours
constexpr int kColourCellsPerAxis = 256 >> kColourCellShift;

struct NearestColourIndex {
    struct Entry {
        std::uint8_t r, g, b, index;
    };
    int first = 0;                        // the answer when the range is empty
    std::vector<Entry> entries;           // distinct colours of the range, ascending index
    std::vector<std::uint32_t> cellStart; // cell i's candidates: [cellStart[i], cellStart[i+1])
    std::vector<Entry> cellEntries;       // candidates per cell, ascending index
};

// Indexes entries first..last of `palette` (clamped to 0..255).
void BuildNearestColourIndex(const PalettePlanes& palette, int first, int last,
                             NearestColourIndex& out);

// Scans `begin..end` (ascending index) for the smallest distance; `<=` keeps
// the later, higher index on ties.
template <typename Distance>
inline int NearestAmong(const NearestColourIndex::Entry* begin,
                        const NearestColourIndex::Entry* end, Distance distance) {
    auto best = distance(*begin);
    int bestIndex = begin->index;
    for (const NearestColourIndex::Entry* e = begin + 1; e != end; ++e) {
        const auto d = distance(*e);
        if (d <= best) {
            best = d;
            bestIndex = e->index;
        }
    }
    return bestIndex;
}

// The same answer as NearestPaletteEntry(palette, r, g, b, first, last).
inline int FindNearestColour(const NearestColourIndex& index, int r, int g, int b) {
    using Entry = NearestColourIndex::Entry;
    if (index.entries.empty()) return index.first;
    if (static_cast<unsigned>(r) < 256 && static_cast<unsigned>(g) < 256 &&
        static_cast<unsigned>(b) < 256) {
        const int cell = ((r >> kColourCellShift) * kColourCellsPerAxis + (g >> kColourCellShift)) *
                             kColourCellsPerAxis +
                         (b >> kColourCellShift);
        const Entry* begin = index.cellEntries.data() + index.cellStart[cell];
        const Entry* end = index.cellEntries.data() + index.cellStart[cell + 1];
        return NearestAmong(begin, end, [r, g, b](const Entry& e) {
            const int dr = e.r - r, dg = e.g - g, db = e.b - b;
            return dr * dr + dg * dg + db * db;
        });
    }
    // Outside the colour cube (a fog colour out of range): plain scan, with
    // unsigned 64-bit distances that cannot overflow for any int target.
    return NearestAmong(
        index.entries.data(), index.entries.data() + index.entries.size(),
        [r, g, b](const Entry& e) {
            const auto sq = [](long long d) { return static_cast<unsigned long long>(d * d); };
            return sq(static_cast<long long>(e.r) - r) + sq(static_cast<long long>(e.g) - g) +
                   sq(static_cast<long long>(e.b) - b);
        });
}
