// The level editor's markers, drawn at cell centres in one flat colour each:
// the selector, the start, the music zones and the exit.
#include "meshes_builder.h"
#include "meshes_catalog.h"

namespace {

void SetAxis(Vec3& v, int axis, double value) {
    (axis == 0 ? v.x : axis == 1 ? v.y : v.z) = value;
}

} // namespace

Mesh SelectMarker() {
    // The twelve edges of a cube a little larger than a cell, as thin bars.
    MeshBuilder b;
    constexpr double kEdge = 266, kBar = 6;
    const Paint paint = Plain(paint::kGrey, 15);
    for (int axis = 0; axis < 3; ++axis) {
        for (int corner = 0; corner < 4; ++corner) {
            const double u = corner % 2 ? kEdge : -kEdge, v = corner / 2 ? kEdge : -kEdge;
            // Along `axis` the bar runs the whole edge; across it, it is thin.
            Vec3 low{}, high{};
            SetAxis(low, axis, -kEdge - kBar);
            SetAxis(high, axis, kEdge + kBar);
            SetAxis(low, (axis + 1) % 3, u - kBar);
            SetAxis(high, (axis + 1) % 3, u + kBar);
            SetAxis(low, (axis + 2) % 3, v - kBar);
            SetAxis(high, (axis + 2) % 3, v + kBar);
            const unsigned ends[3] = {kLowX | kHighX, kLowY | kHighY, kLowZ | kHighZ};
            AddBox(b, At({}), low, high, AllSides(paint), ends[axis]);
        }
    }
    return FinishMesh(b);
}

Mesh StartMarker() {
    // A thick arrow lying flat, pointing along +z.
    MeshBuilder b;
    const std::vector<Vec3> outline = {{45, -20, -200}, {45, -20, 40},   {130, -20, 40},
                                       {0, -20, 230},   {-130, -20, 40}, {-45, -20, 40},
                                       {-45, -20, -200}};
    AddExtrusion(b, outline, {0, -20, 0}, {0, 44, 0}, Flat(paint::kGrey, 13),
                 Flat(paint::kGrey, 11));
    return FinishMesh(b);
}

Mesh SfxMarker() {
    // A musical note: a slanted head, its stem and a flag.
    MeshBuilder b;
    const Paint paint = Flat(paint::kTeal, 12);
    AddBox(b, {RotZ(25), {-40, -120, 0}}, {-62, -38, -30}, {62, 38, 30}, AllSides(paint));
    AddBox(b, At({}), {6, -120, -12}, {26, 190, 12}, AllSides(paint));
    AddBox(b, {RotZ(-40), {26, 190, 0}}, {0, -34, -10}, {120, 0, 10}, AllSides(paint));
    return FinishMesh(b);
}

Mesh ExitMarker() {
    // A flag on a pole.
    MeshBuilder b;
    const Paint paint = Flat(paint::kGold, 13);
    AddBox(b, At({}), {-10, -256, -10}, {10, 230, 10}, AllSides(paint), kLowY);
    AddBox(b, At({}), {10, 96, -6}, {210, 226, 6}, AllSides(paint));
    return FinishMesh(b);
}
