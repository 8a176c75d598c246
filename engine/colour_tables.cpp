#include "engine/colour_tables.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/nearest_colour.h"
#include "engine/palette.h"

namespace {

constexpr int kPlaneSize = 256 * 256;

struct BlendJob {
    const PalettePlanes& palette;
    BlendTable& table;
    NearestColourIndex index;
    // For each colour, the lowest index of the same colour: rows and columns
    // of repeated colours are copies of that one.
    std::array<std::uint8_t, 256> same{};
    std::atomic<int> nextPlane{0};
};

// Sixteenths rounded to the nearest integer, ties to even: what
// BlendChannel does after scaling, as a table for the inner loop.
struct RoundedSixteenths {
    std::array<std::uint8_t, 255 * 16 + 1> value{};
    RoundedSixteenths() {
        for (int s = 0; s <= 255 * 16; ++s)
            value[s] = static_cast<std::uint8_t>(BlendChannel(s >> 4, (s >> 4) + 1, s & 15));
    }
};

// Computes plane e (0..8) and writes its mirror, plane 16 - e: the blend
// target of (a, b, e) is that of (b, a, 16 - e), so the mirror is the
// transpose.
void buildPlane(BlendJob& job, int e) {
    static const RoundedSixteenths rounded;
    const PalettePlanes& p = job.palette;
    std::uint8_t* plane = job.table.data() + e * kPlaneSize;
    // Destination colours scaled by e; source colours by 16 - e below.
    std::array<std::array<std::uint16_t, 256>, 3> towards;
    for (int channel = 0; channel < 3; ++channel)
        for (int b = 0; b < 256; ++b)
            towards[channel][b] = static_cast<std::uint16_t>(p[channel * 256 + b] * e);
    for (int a = 0; a < 256; ++a) {
        std::uint8_t* row = plane + a * 256;
        if (job.same[a] != a) {
            std::memcpy(row, plane + job.same[a] * 256, 256);
            continue;
        }
        if (e == 0) { // the source colour itself, whatever the destination
            std::memset(row, FindNearestColour(job.index, p[a], p[256 + a], p[512 + a]), 256);
            continue;
        }
        const int fromR = p[a] * (16 - e), fromG = p[256 + a] * (16 - e),
                  fromB = p[512 + a] * (16 - e);
        for (int b = 0; b < 256; ++b) {
            if (job.same[b] != b) {
                row[b] = row[job.same[b]];
                continue;
            }
            row[b] = static_cast<std::uint8_t>(FindNearestColour(
                job.index, rounded.value[fromR + towards[0][b]],
                rounded.value[fromG + towards[1][b]], rounded.value[fromB + towards[2][b]]));
        }
    }
    if (e == 8) return;
    std::uint8_t* mirror = job.table.data() + (16 - e) * kPlaneSize;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) mirror[b * 256 + a] = plane[a * 256 + b];
}

void runPlanes(BlendJob& job) {
    for (int e = job.nextPlane++; e <= 8; e = job.nextPlane++) buildPlane(job, e);
}

} // namespace

void BuildBlendTable(const PalettePlanes& palette, BlendTable& table) {
    BlendJob job{palette, table, {}, {}, {}};
    BuildNearestColourIndex(palette, 0, 254, job.index);
    for (int c = 0; c < 256; ++c) {
        job.same[c] = static_cast<std::uint8_t>(c);
        for (int d = 0; d < c; ++d) {
            if (palette[d] == palette[c] && palette[256 + d] == palette[256 + c] &&
                palette[512 + d] == palette[512 + c]) {
                job.same[c] = static_cast<std::uint8_t>(d);
                break;
            }
        }
    }

    // Planes are independent: hand them out to every hardware thread. When a
    // thread cannot be started the others (at least this one) take its share.
    const unsigned helpers = std::min(std::max(std::thread::hardware_concurrency(), 1u), 9u) - 1;
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < helpers; ++i) {
        try {
            threads.emplace_back(runPlanes, std::ref(job));
        } catch (const std::system_error&) {
            break;
        }
    }
    runPlanes(job);
    for (std::thread& t : threads) t.join();
}

void BuildBlendTableDirect(const PalettePlanes& p, BlendTable& table) {
    const auto mix = [](int ca, int cb, int e) {
        return static_cast<int>(std::nearbyint(ca + (cb - ca) * e / 16.0));
    };
    for (int e = 0; e < kBlendPlanes; ++e) {
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                table[(e * 256 + a) * 256 + b] = static_cast<std::uint8_t>(
                    NearestPaletteEntry(p, mix(p[a], p[b], e), mix(p[256 + a], p[256 + b], e),
                                        mix(p[512 + a], p[512 + b], e), 0, 254));
            }
        }
    }
}

void BuildShadeTableFor(const PalettePlanes& palette, int fr, int fg, int fb, ShadeTable& table) {
    NearestColourIndex index;
    BuildNearestColourIndex(palette, 1, 254, index);
    // 64-bit so that no fog value can overflow; the result lies between the
    // fog and the colour and so fits an int.
    const auto toward = [](long long fog, long long colour, long long level) {
        return static_cast<int>(fog + level * (colour - fog) / 256);
    };
    for (int i = 0; i < 256; ++i) {
        std::uint8_t* row = table.data() + i * 256;
        row[0] = 0;
        for (int c = 1; c < 256; ++c) {
            row[c] = static_cast<std::uint8_t>(FindNearestColour(index, toward(fr, palette[c], i),
                                                                 toward(fg, palette[256 + c], i),
                                                                 toward(fb, palette[512 + c], i)));
        }
    }
}

void BuildShadeTable(int fr, int fg, int fb) {
    // Every definition load asks for the table, which only changes with the
    // palette or the fog: the last one built is kept and copied.
    struct Built {
        bool valid = false;
        PalettePlanes palette{};
        std::array<int, 3> fog{};
        ShadeTable table{};
    };
    static const std::unique_ptr<Built> last = std::make_unique<Built>();
    const std::array<int, 3> fog = {fr, fg, fb};
    if (!last->valid || last->palette != renderContext.palette || last->fog != fog) {
        last->palette = renderContext.palette;
        last->fog = fog;
        BuildShadeTableFor(last->palette, fr, fg, fb, last->table);
        last->valid = true;
    }
    *renderContext.shadeTable = last->table;
    *renderContext.savedShadeTable = last->table;
}
