// moveBody: an upright box moved through the grid one axis at a time (x, then
// z, then y), so that it slides along walls, steps up over low obstacles and
// lands on the sloped tops of the object types.
#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "world/movement.h"
#include "world/world.h"

namespace {

constexpr float kMaxStep = 510.0f; // less than a cell per call, so no cell is skipped
constexpr int kAxisX = 0, kAxisY = 1, kAxisZ = 2;

double cellBase(int cell) {
    return static_cast<double>(cell) * worldUnit;
}

// A wanted displacement limited to one step; NaN moves nothing.
float limitStep(float v) {
    if (std::isnan(v)) return 0.0f;
    return std::clamp(v, -kMaxStep, kMaxStep);
}

// Keeps a coordinate inside [low, high]; NaN goes to low.
float keepWithin(float v, double low, double high) {
    if (!(v >= low)) return static_cast<float>(low);
    if (v > high) return static_cast<float>(high);
    return v;
}

int gridSize(int axis) {
    return axis == kAxisX ? worldGrid.sizeX : axis == kAxisY ? worldGrid.sizeY : worldGrid.sizeZ;
}

// The type that stops bodies in cell c, or null. Like the point tests, one
// cell past the last is still looked at (it reads as type 0).
const ObjectType* solidIn(const int c[3]) {
    for (int axis = 0; axis < 3; ++axis)
        if (c[axis] < 0 || c[axis] > gridSize(axis)) return nullptr;
    const ObjectType& type = objectTypes[cellAt(c[0], c[1], c[2])];
    if (type.undefined || !type.Collision) return nullptr;
    return &type;
}

int boxLow(const ObjectType& t, int axis) {
    return axis == kAxisX ? t.Xmin : t.Zmin;
}

int boxHigh(const ObjectType& t, int axis) {
    return axis == kAxisX ? t.Xmax : t.Zmax;
}

// The top of a box over cell-local (lx, lz), taken within the box's own plan
// so that a point beside a slope does not extend the slope.
double topOver(const ObjectType& t, double lx, double lz) {
    const int x =
        TruncToInt(std::clamp(lx, static_cast<double>(t.Xmin), static_cast<double>(t.Xmax)));
    const int z =
        TruncToInt(std::clamp(lz, static_cast<double>(t.Zmin), static_cast<double>(t.Zmax)));
    return topHeight(t, x, z);
}

// The first and last cell between two coordinates along an axis, limited to
// the cells a point test can see.
void cellSpan(float from, float to, int axis, int& first, int& last) {
    const int a = CellOf(from), b = CellOf(to);
    first = std::max(std::min(a, b), 0);
    last = std::min(std::max(a, b), gridSize(axis));
}

// One horizontal axis (x or z; `across` is the other one). Every column from
// the body's own to the one its leading face reaches is searched for a box
// thin enough to be passed in one step; such a box stops the face one unit
// before it. Then the move is refused when the leading face would end inside
// a solid raised by stepHeight (lower obstacles are stepped over).
void moveAcross(float p[3], int axis, float v, int hw, int hh, int stepHeight) {
    const int across = kAxisX + kAxisZ - axis;
    const float lead = v > 0 ? static_cast<float>(hw) : -static_cast<float>(hw);
    int first = 0, last = -1;
    if (v != 0.0f) cellSpan(p[axis], p[axis] + v + lead, axis, first, last);
    for (int column = first; column <= last; ++column) {
        for (int i = -1; i <= 1; ++i) {
            for (int j = -1; j <= 1; ++j) {
                const float sampleY = p[kAxisY] + static_cast<float>(i * hh);
                const float sampleAcross = p[across] + static_cast<float>(j * hw);
                int cell[3];
                cell[axis] = column;
                cell[kAxisY] = CellOf(sampleY);
                cell[across] = CellOf(sampleAcross);
                const ObjectType* t = solidIn(cell);
                if (!t) continue;
                // The body's ranges in the sampled cell's own coordinates.
                const double la = p[axis] - cellBase(column);
                const double ly = p[kAxisY] - cellBase(cell[kAxisY]);
                const double lb = p[across] - cellBase(cell[across]);
                if (boxLow(*t, across) > lb + hw || boxHigh(*t, across) < lb - hw) continue;
                const double sampleB = sampleAcross - cellBase(cell[across]);
                const double top =
                    axis == kAxisX ? topOver(*t, la, sampleB) : topOver(*t, sampleB, la);
                if (ly + hh < t->Ymin - stepHeight || ly - hh > top - stepHeight) continue;
                if (v > 0) {
                    const double face = la + hw;
                    if (boxLow(*t, axis) >= face && boxHigh(*t, axis) <= face + v &&
                        v > boxLow(*t, axis) - face)
                        v = static_cast<float>(std::max(boxLow(*t, axis) - face - 1.0, 0.0));
                } else {
                    const double face = la - hw;
                    if (boxHigh(*t, axis) <= face && boxLow(*t, axis) >= face + v &&
                        v < boxHigh(*t, axis) - face)
                        v = static_cast<float>(std::min(boxHigh(*t, axis) - face + 1.0, 0.0));
                }
            }
        }
    }

    bool blocked = false;
    const float leading = p[axis] + v + lead;
    for (int i = -1; i <= 1 && !blocked; ++i) {
        for (int j = -1; j <= 1 && !blocked; ++j) {
            float point[3];
            point[axis] = leading;
            point[kAxisY] = p[kAxisY] + static_cast<float>(i * hh);
            point[across] = p[across] + static_cast<float>(j * hw);
            blocked =
                pointInSolidRaised(static_cast<float>(stepHeight), point[0], point[1], point[2]);
        }
    }
    if (!blocked && v != 0.0f) p[axis] += v;
    p[axis] = keepWithin(p[axis], 0.0, cellBase(gridSize(axis)));
}

// The vertical axis: the same search for thin boxes in every row the
// leading face crosses, then landing on (or bumping against) the solids
// under the nine plan points, then following the ground onto ramps and
// steps. True when the movement was stopped or corrected.
bool moveVertically(float p[3], float v, int hw, int hh) {
    const float lead = v > 0 ? static_cast<float>(hh) : -static_cast<float>(hh);
    int first = 0, last = -1;
    cellSpan(p[kAxisY], p[kAxisY] + v + lead, kAxisY, first, last);
    for (int row = first; row <= last; ++row) {
        for (int i = -1; i <= 1; ++i) {
            for (int j = -1; j <= 1; ++j) {
                const float sampleX = p[kAxisX] + static_cast<float>(j * hw);
                const float sampleZ = p[kAxisZ] + static_cast<float>(i * hw);
                const int cell[3] = {CellOf(sampleX), row, CellOf(sampleZ)};
                const ObjectType* t = solidIn(cell);
                if (!t) continue;
                const double lx = p[kAxisX] - cellBase(cell[0]);
                const double lz = p[kAxisZ] - cellBase(cell[2]);
                if (t->Xmin > lx + hw || t->Xmax < lx - hw || t->Zmin > lz + hw ||
                    t->Zmax < lz - hw)
                    continue;
                const double ly = p[kAxisY] - cellBase(row);
                const double top =
                    topOver(*t, sampleX - cellBase(cell[0]), sampleZ - cellBase(cell[2]));
                if (v > 0) {
                    const double face = ly + hh;
                    if (t->Ymin >= face && top <= face + v && v > t->Ymin - face)
                        v = static_cast<float>(t->Ymin - face);
                } else {
                    const double face = ly - hh;
                    if (top <= face && t->Ymin >= face + v && v < top - face)
                        v = static_cast<float>(top - face);
                }
            }
        }
    }

    bool contact = false;
    const float leading = p[kAxisY] + v + lead;
    const int row = CellOf(leading);
    const float spacing = static_cast<float>(hw - 1);
    double m = v > 0 ? 512.0 : 0.0;
    bool hit = false;
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            const float px = p[kAxisX] + static_cast<float>(j) * spacing;
            const float pz = p[kAxisZ] + static_cast<float>(i) * spacing;
            if (!pointInSolid(px, leading, pz)) continue;
            const int cx = CellOf(px), cz = CellOf(pz);
            const ObjectType& t = objectTypes[cellAt(cx, row, cz)];
            hit = true;
            if (v > 0)
                m = std::min(m, static_cast<double>(t.Ymin - hh - 1));
            else
                m = std::max(m, topOver(t, px - cellBase(cx), pz - cellBase(cz)) + hh + 1);
        }
    }
    if (hit) {
        p[kAxisY] = static_cast<float>(cellBase(row) + m);
        contact = true;
    } else {
        p[kAxisY] += v;
    }

    if (v <= 0) {
        // Lift a body whose feet ended inside a ramp or a low step onto its top.
        const float feet = p[kAxisY] - static_cast<float>(hh);
        const int feetRow = CellOf(feet);
        for (int i = -1; i <= 1; ++i) {
            for (int j = -1; j <= 1; ++j) {
                const float px = p[kAxisX] + static_cast<float>(j) * spacing;
                const float pz = p[kAxisZ] + static_cast<float>(i) * spacing;
                if (!pointInSolid(px, feet, pz)) continue;
                const int cx = CellOf(px), cz = CellOf(pz);
                const ObjectType& t = objectTypes[cellAt(cx, feetRow, cz)];
                const double top = topOver(t, px - cellBase(cx), pz - cellBase(cz));
                p[kAxisY] = std::max(p[kAxisY], static_cast<float>(cellBase(feetRow) + top + hh));
                contact = true;
            }
        }
    }

    const double ceiling = cellBase(worldGrid.sizeY);
    if (!(p[kAxisY] >= 256.0f)) {
        p[kAxisY] = 256.0f;
        contact = true;
    } else if (p[kAxisY] > ceiling) {
        p[kAxisY] = static_cast<float>(ceiling);
        contact = true;
    }
    return contact;
}

} // namespace

bool moveBody(float& x, float& y, float& z, float vx, float vy, float vz, std::int32_t width,
              std::int32_t height, std::int32_t stepHeight) {
    const int hw = width / 2, hh = height / 2;
    float p[3] = {x, y, z};
    moveAcross(p, kAxisX, limitStep(vx), hw, hh, stepHeight);
    moveAcross(p, kAxisZ, limitStep(vz), hw, hh, stepHeight);
    const bool contact = moveVertically(p, limitStep(vy), hw, hh);
    x = p[0];
    y = p[1];
    z = p[2];
    return contact;
}
