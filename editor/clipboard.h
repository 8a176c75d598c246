// The editor's clipboard: a box of cells (type, brightness and music zone of
// each) with the sentries that stood inside it, and the quarter turns and
// mirrors that act on it. Cells whose type has a direction take the type that
// faces the turned or mirrored way.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "editor/region_select.h"

struct ClipCell {
    std::uint8_t type = 0, brightness = 128;
    std::int32_t music = -1; // music-list index of the cell's zone, -1 for none
    bool operator==(const ClipCell&) const = default;
};

struct ClipSentry {
    float x = 0, y = 0, z = 0; // world offset from the box's low corner
    float heading = 0;
    // A cut's sentry: the sentry number that the first paste moves, and its
    // world position at the cut (it is moved only when it still stands
    // there). 0 for a copy: each paste makes a new sentry.
    int slot = 0;
    float cutX = 0, cutY = 0, cutZ = 0;
    bool operator==(const ClipSentry&) const = default;
};

struct Clipboard {
    CellTriple size;             // 0 on every axis while empty
    std::vector<ClipCell> cells; // x fastest, then y, then z
    std::vector<ClipSentry> sentries;
    bool operator==(const Clipboard&) const = default;
};

bool ClipboardEmpty(const Clipboard& clip);
ClipCell& ClipAt(Clipboard& clip, int x, int y, int z);
const ClipCell& ClipAt(const Clipboard& clip, int x, int y, int z);

// The level's box (inside the grid) as a clipboard. With `forCut` the
// sentries remember their numbers so that the paste moves them.
Clipboard CopyBox(const CellBox& box, bool forCut);

enum class ClipTransform { TurnRight, TurnLeft, MirrorX, MirrorZ };

// For each type, the type that faces the way the transform turns it: a type
// whose box is unchanged by the transform stays itself; otherwise the first
// defined type of the same kind (the same flags) whose box is the turned box,
// or itself when there is none (`turned` false for such a type).
struct TurnTable {
    std::array<std::uint8_t, 256> type{};
    std::array<bool, 256> turned{};
};
TurnTable MakeTurnTable(ClipTransform transform);

// Turns (about the vertical axis) or mirrors the clipboard's cells, sentries
// and their headings. Returns the number of cells of a directed type that has
// no turned form and so kept its type.
int TransformClipboard(Clipboard& clip, ClipTransform transform);

// A sentry heading in 0..32767 (sentry headings are stored negated: a
// heading h looks along (sin -h, cos -h)).
float WrapHeading(float heading);
