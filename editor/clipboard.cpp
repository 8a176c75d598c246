#include "editor/clipboard.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "world/level_state.h"
#include "world/world.h"

namespace {

constexpr int kLocalHigh = 511; // a cell's last local unit
constexpr float kTurn = 32768.0f;

std::size_t clipIndex(const CellTriple& size, int x, int y, int z) {
    return static_cast<std::size_t>(x + std::int64_t{size.x} * (y + std::int64_t{size.y} * z));
}

struct Box {
    std::int32_t xMin, xMax, yMin, zMin, zMax;
    std::array<std::int32_t, 4> top; // Ymax1..Ymax4
};

// Boxes are given from a centre between two units (-256..255 around it), so
// one turned or mirrored lands a unit off its twin: a unit either way is the
// same box.
bool sameBox(const Box& a, const Box& b) {
    const auto near = [](std::int32_t p, std::int32_t q) { return p - q <= 1 && q - p <= 1; };
    bool same = near(a.xMin, b.xMin) && near(a.xMax, b.xMax) && near(a.yMin, b.yMin) &&
                near(a.zMin, b.zMin) && near(a.zMax, b.zMax);
    for (std::size_t i = 0; i < a.top.size(); ++i) same = same && near(a.top[i], b.top[i]);
    return same;
}

Box boxOf(const ObjectType& t) {
    return {t.Xmin, t.Xmax, t.Ymin, t.Zmin, t.Zmax, {t.Ymax1, t.Ymax2, t.Ymax3, t.Ymax4}};
}

// The box seen after the transform. The corner heights are over the
// quarters low x low z, high x low z, high x high z, low x high z.
Box transformBox(const Box& b, ClipTransform transform) {
    const int c = kLocalHigh;
    const auto corners = [&](int a, int b2, int c2, int d) {
        return std::array<std::int32_t, 4>{b.top[a], b.top[b2], b.top[c2], b.top[d]};
    };
    switch (transform) {
    case ClipTransform::TurnRight: // (x, z) -> (z, high - x)
        return {b.zMin, b.zMax, b.yMin, c - b.xMax, c - b.xMin, corners(1, 2, 3, 0)};
    case ClipTransform::TurnLeft: // (x, z) -> (high - z, x)
        return {c - b.zMax, c - b.zMin, b.yMin, b.xMin, b.xMax, corners(3, 0, 1, 2)};
    case ClipTransform::MirrorX:
        return {c - b.xMax, c - b.xMin, b.yMin, b.zMin, b.zMax, corners(1, 0, 3, 2)};
    case ClipTransform::MirrorZ:
        return {b.xMin, b.xMax, b.yMin, c - b.zMax, c - b.zMin, corners(3, 2, 1, 0)};
    }
    return b;
}

// Types that can stand for each other when turned: everything but the box,
// the name and the meshes' shapes is the same.
bool sameKind(const ObjectType& a, const ObjectType& b) {
    return a.Cube == b.Cube && a.Collision == b.Collision && a.Death == b.Death &&
           a.CanPush == b.CanPush && a.AnimateCollision == b.AnimateCollision &&
           a.Morph == b.Morph && a.Ladder == b.Ladder && a.Transparency == b.Transparency &&
           a.Lever == b.Lever && a.Spring == b.Spring && a.OneUp == b.OneUp && a.Light == b.Light &&
           a.Timer == b.Timer && a.Lingot == b.Lingot && a.Door == b.Door &&
           a.BlockKey == b.BlockKey && a.BlockSensor == b.BlockSensor && a.Dig == b.Dig &&
           a.Recover == b.Recover && a.meshCount == b.meshCount;
}

// Where the cell (x, z) of a box of `size` goes, and the new box's size.
CellTriple transformCell(const CellTriple& size, int x, int y, int z, ClipTransform transform) {
    switch (transform) {
    case ClipTransform::TurnRight:
        return {z, y, size.x - 1 - x};
    case ClipTransform::TurnLeft:
        return {size.z - 1 - z, y, x};
    case ClipTransform::MirrorX:
        return {size.x - 1 - x, y, z};
    case ClipTransform::MirrorZ:
        return {x, y, size.z - 1 - z};
    }
    return {x, y, z};
}

// The offset mirrored inside [0, extent): a sentry on the box's low face
// lands just inside its high face rather than in the next cell.
float flip(float extent, float offset) {
    return std::min(extent - offset, std::nextafter(extent, 0.0f));
}

bool turns(ClipTransform transform) {
    return transform == ClipTransform::TurnRight || transform == ClipTransform::TurnLeft;
}

} // namespace

bool ClipboardEmpty(const Clipboard& clip) {
    return clip.cells.empty();
}

ClipCell& ClipAt(Clipboard& clip, int x, int y, int z) {
    return clip.cells[clipIndex(clip.size, x, y, z)];
}

const ClipCell& ClipAt(const Clipboard& clip, int x, int y, int z) {
    return clip.cells[clipIndex(clip.size, x, y, z)];
}

Clipboard CopyBox(const CellBox& box, bool forCut) {
    Clipboard clip;
    clip.size = BoxSize(box);
    clip.cells.resize(
        static_cast<std::size_t>(std::int64_t{clip.size.x} * clip.size.y * clip.size.z));
    for (int z = box.low.z; z <= box.high.z; ++z)
        for (int y = box.low.y; y <= box.high.y; ++y)
            for (int x = box.low.x; x <= box.high.x; ++x) {
                ClipCell& cell = ClipAt(clip, x - box.low.x, y - box.low.y, z - box.low.z);
                cell.type = cellAt(x, y, z);
                cell.brightness = brightnessAt(x, y, z);
            }
    // The last zone of a cell is the one the game and the editor use.
    for (const MusicZone& zone : levelState.musicZones)
        if (zone.x != kUnusedMusicZone && BoxContains(box, zone.x, zone.y, zone.z))
            ClipAt(clip, zone.x - box.low.x, zone.y - box.low.y, zone.z - box.low.z).music =
                zone.music;
    const auto corner = [](int cell) { return static_cast<float>(std::int64_t{cell} * worldUnit); };
    for (int i = 1; i <= sentryCount && i < kSentrySlots; ++i) {
        const SentryRecord& s = sentries[static_cast<std::size_t>(i)];
        if (!BoxContains(box, CellOf(s.x), CellOf(s.y), CellOf(s.z))) continue;
        ClipSentry clipped{s.x - corner(box.low.x), s.y - corner(box.low.y),
                           s.z - corner(box.low.z), s.heading};
        if (forCut) {
            clipped.slot = i;
            clipped.cutX = s.x;
            clipped.cutY = s.y;
            clipped.cutZ = s.z;
        }
        clip.sentries.push_back(clipped);
    }
    return clip;
}

TurnTable MakeTurnTable(ClipTransform transform) {
    TurnTable table;
    for (int t = 0; t < kObjectTypeCount; ++t) {
        table.type[t] = static_cast<std::uint8_t>(t);
        table.turned[t] = true;
        const ObjectType& type = objectTypes[t];
        if (type.undefined) continue;
        const Box wanted = transformBox(boxOf(type), transform);
        if (sameBox(wanted, boxOf(type))) continue;
        table.turned[t] = false;
        for (int u = 0; u < kObjectTypeCount; ++u) {
            const ObjectType& other = objectTypes[u];
            if (u == t || other.undefined || !sameKind(type, other) ||
                !sameBox(boxOf(other), wanted))
                continue;
            table.type[t] = static_cast<std::uint8_t>(u);
            table.turned[t] = true;
            break;
        }
    }
    return table;
}

float WrapHeading(float heading) {
    float wrapped = std::fmod(heading, kTurn);
    if (wrapped < 0) wrapped += kTurn;
    return wrapped;
}

int TransformClipboard(Clipboard& clip, ClipTransform transform) {
    if (ClipboardEmpty(clip)) return 0;
    const TurnTable table = MakeTurnTable(transform);
    Clipboard out;
    out.size = turns(transform) ? CellTriple{clip.size.z, clip.size.y, clip.size.x} : clip.size;
    out.cells.resize(clip.cells.size());
    int unturned = 0;
    for (int z = 0; z < clip.size.z; ++z)
        for (int y = 0; y < clip.size.y; ++y)
            for (int x = 0; x < clip.size.x; ++x) {
                ClipCell cell = ClipAt(clip, x, y, z);
                if (!table.turned[cell.type]) ++unturned;
                cell.type = table.type[cell.type];
                const CellTriple to = transformCell(clip.size, x, y, z, transform);
                ClipAt(out, to.x, to.y, to.z) = cell;
            }
    const float width = static_cast<float>(std::int64_t{clip.size.x} * worldUnit);
    const float depth = static_cast<float>(std::int64_t{clip.size.z} * worldUnit);
    for (ClipSentry s : clip.sentries) {
        // Sentry headings are stored negated, so a turn to the right lowers them.
        switch (transform) {
        case ClipTransform::TurnRight:
            s = {s.z, s.y, flip(width, s.x), s.heading - 8192.0f, s.slot, s.cutX, s.cutY, s.cutZ};
            break;
        case ClipTransform::TurnLeft:
            s = {flip(depth, s.z), s.y, s.x, s.heading + 8192.0f, s.slot, s.cutX, s.cutY, s.cutZ};
            break;
        case ClipTransform::MirrorX:
            s.x = flip(width, s.x);
            s.heading = -s.heading;
            break;
        case ClipTransform::MirrorZ:
            s.z = flip(depth, s.z);
            s.heading = 16384.0f - s.heading;
            break;
        }
        s.heading = WrapHeading(s.heading);
        out.sentries.push_back(s);
    }
    clip = std::move(out);
    return unturned;
}
