#include "engine/nearest_colour.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

// Squared distance along one axis from colour value v to the nearest and the
// farthest value of the axis cell [lo, lo + cell size - 1].
struct AxisSpan {
    int nearest, farthest;
};

AxisSpan axisSpan(int v, int cell) {
    const int lo = cell << kColourCellShift;
    const int hi = lo + (1 << kColourCellShift) - 1;
    const int near = v < lo ? lo - v : (v > hi ? v - hi : 0);
    const int far = std::max(v - lo, hi - v);
    return {near * near, far * far};
}

// True when q is strictly closer than p to every point of the cell from lo
// to lo + cell size - 1: then p can never be the answer, not even on a tie.
// d(p, x)^2 - d(q, x)^2 is affine in x, so its minimum over the cell is
// taken per axis at one of the two bounds.
bool beatenBy(const NearestColourIndex::Entry& p, const NearestColourIndex::Entry& q,
              const int lo[3]) {
    const int size = (1 << kColourCellShift) - 1;
    const int pc[3] = {p.r, p.g, p.b}, qc[3] = {q.r, q.g, q.b};
    int least = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const int d = pc[axis] - qc[axis];
        // |p|^2 - |q|^2 - 2 x d along this axis, at x = lo or lo + size.
        least += pc[axis] * pc[axis] - qc[axis] * qc[axis] -
                 2 * d * (d > 0 ? lo[axis] + size : lo[axis]);
    }
    return least > 0;
}

} // namespace

void BuildNearestColourIndex(const PalettePlanes& palette, int first, int last,
                             NearestColourIndex& out) {
    using Entry = NearestColourIndex::Entry;
    out.first = first;
    out.entries.clear();
    out.cellEntries.clear();
    out.cellStart.assign(kColourCellsPerAxis * kColourCellsPerAxis * kColourCellsPerAxis + 1, 0);
    first = std::max(first, 0);
    last = std::min(last, 255);
    if (last < first) return;

    // Equal colours always tie, so only the highest index of each colour can
    // ever be the answer; dropping the others keeps the lists short on
    // palettes with many repeated entries.
    for (int i = first; i <= last; ++i) {
        const Entry e{palette[i], palette[256 + i], palette[512 + i], static_cast<std::uint8_t>(i)};
        bool repeated = false;
        for (int j = i + 1; j <= last && !repeated; ++j)
            repeated = palette[j] == e.r && palette[256 + j] == e.g && palette[512 + j] == e.b;
        if (!repeated) out.entries.push_back(e);
    }

    const std::size_t n = out.entries.size();
    // Per axis and per entry, the nearest and farthest squared distances.
    std::array<std::vector<AxisSpan>, 3> spans;
    for (int axis = 0; axis < 3; ++axis) {
        spans[axis].resize(kColourCellsPerAxis * n);
        for (int cell = 0; cell < kColourCellsPerAxis; ++cell) {
            for (std::size_t k = 0; k < n; ++k) {
                const Entry& e = out.entries[k];
                const int v = axis == 0 ? e.r : (axis == 1 ? e.g : e.b);
                spans[axis][cell * n + k] = axisSpan(v, cell);
            }
        }
    }

    // An entry can be nearest to some point of a cell only when its nearest
    // distance to the cell does not exceed the smallest farthest distance of
    // any entry: that entry is at least as close to every point. Equality is
    // kept so that ties are still decided by index. Entries that another
    // candidate beats on the whole cell are dropped next.
    std::vector<Entry> candidates;
    int cell = 0;
    for (int cr = 0; cr < kColourCellsPerAxis; ++cr) {
        const AxisSpan* sr = &spans[0][cr * n];
        for (int cg = 0; cg < kColourCellsPerAxis; ++cg) {
            const AxisSpan* sg = &spans[1][cg * n];
            for (int cb = 0; cb < kColourCellsPerAxis; ++cb, ++cell) {
                const AxisSpan* sb = &spans[2][cb * n];
                int bound = std::numeric_limits<int>::max();
                std::size_t closest = 0;
                for (std::size_t k = 0; k < n; ++k) {
                    const int farthest = sr[k].farthest + sg[k].farthest + sb[k].farthest;
                    if (farthest < bound) bound = farthest, closest = k;
                }
                out.cellStart[cell] = static_cast<std::uint32_t>(out.cellEntries.size());
                candidates.clear();
                for (std::size_t k = 0; k < n; ++k) {
                    if (sr[k].nearest + sg[k].nearest + sb[k].nearest <= bound)
                        candidates.push_back(out.entries[k]);
                }
                const int lo[3] = {cr << kColourCellShift, cg << kColourCellShift,
                                   cb << kColourCellShift};
                // The entry closest at worst beats most others, so try it
                // first; nothing beats it, so no list is ever empty.
                const Entry& likely = out.entries[closest];
                for (const Entry& p : candidates) {
                    if (beatenBy(p, likely, lo)) continue;
                    if (std::none_of(candidates.begin(), candidates.end(),
                                     [&](const Entry& q) { return beatenBy(p, q, lo); }))
                        out.cellEntries.push_back(p);
                }
            }
        }
    }
    out.cellStart[cell] = static_cast<std::uint32_t>(out.cellEntries.size());
}
