// Things to pick up or reach: ingots, the extra life, the lamp, the
// hourglass and the exit portal.
#include <cmath>

#include "meshes_builder.h"
#include "meshes_catalog.h"

namespace {

constexpr double kFloor = -256;

Mesh IngotStack(double yaw, double lift) {
    // Two bars side by side and one across them, rocking slowly to and fro:
    // a rigid turn cannot loop through blended key frames, a swing can.
    MeshBuilder b;
    const Frame stack{RotY(yaw), {0, kFloor + 40 + lift, 0}};
    const BoxPaints gold = AllSides(Textured(kTexIngot));
    for (double z : {-46.0, 46.0})
        AddBox(b, stack.Child({0, 0, z}, Mat3{}), {-105, 0, -42}, {105, 58, 42}, gold, kNoSide, 0.8,
               0.72);
    AddBox(b, stack.Child({0, 58, 0}, RotY(90)), {-105, 0, -42}, {105, 58, 42}, gold, kLowY, 0.8,
           0.72);
    return FinishMesh(b);
}

Mesh Portal(double glow) {
    MeshBuilder b;
    const Paint padTop = Flat(paint::kGold, 9);
    AddFrustum(b, At({}), 8, kFloor, 205, kFloor + 28, 188, 22.5, Flat(paint::kGrey, 10), nullptr,
               &padTop);
    // An arch of stone across x.
    for (double s : {1.0, -1.0})
        AddBox(b, At({s * 196, 0, 0}), {-22, kFloor + 28, -24}, {22, 150, 24},
               AllSides(Flat(paint::kGrey, 11)), kLowY);
    AddBox(b, At({}), {-226, 150, -30}, {226, 190, 30},
           {Flat(paint::kGrey, 10), Flat(paint::kGold, 9), Flat(paint::kGrey, 7)});
    // A block of glowing light between the arch's posts, its four sides
    // growing and shrinking.
    const double half = 110 * glow, bottom = kFloor + 40, top = bottom + 300 * glow;
    AddBox(b, At({}), {-half, bottom, -half}, {half, top, half},
           {Keyed(kTexPortal), Keyed(kTexPortal), Keyed(kTexPortal)}, kLowY);
    return FinishMesh(b);
}

} // namespace

std::vector<Mesh> IngotFrames() {
    std::vector<Mesh> frames = {IngotStack(0, 0), IngotStack(30, 14), IngotStack(0, 24),
                                IngotStack(-30, 14)};
    for (Mesh& frame : frames) frame = WithFacesOf(frame, frames.front());
    return frames;
}

std::vector<Mesh> ExitFrames() {
    std::vector<Mesh> frames = {Portal(1.0), Portal(1.07), Portal(1.13), Portal(1.07)};
    for (Mesh& frame : frames) frame = WithFacesOf(frame, frames.front());
    return frames;
}

Mesh LifeMesh() {
    // A thick heart, turned a little so that it never shows only its edge.
    MeshBuilder b;
    const Frame frame{RotY(25), {0, -10, 0}};
    std::vector<Vec3> outline;
    constexpr int kPoints = 14;
    for (int i = 0; i < kPoints; ++i) {
        const double t = Radians(360.0 * i / kPoints);
        const double x = 16 * std::pow(std::sin(t), 3);
        const double y =
            13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
        outline.push_back(frame({x * 9, y * 9, -36}));
    }
    AddExtrusion(b, outline, frame({0, -13, -36}), frame.turn * Vec3{0, 0, 72},
                 Flat(paint::kPink, 10), Flat(paint::kPink, 8));
    return FinishMesh(b);
}

Mesh LampMesh() {
    // A lantern: a steel foot, six panes of glowing glass and a pointed roof.
    MeshBuilder b;
    const Paint steel = Flat(paint::kSteel, 8);
    AddFrustum(b, At({}), 6, kFloor, 112, kFloor + 26, 98, 0, steel, nullptr, &steel);
    AddFrustum(b, At({}), 6, kFloor + 26, 84, -30, 84, 0, Textured(kTexLamp), nullptr, nullptr);
    AddFrustum(b, At({}), 6, -30, 108, 60, 0, 0, Flat(paint::kSteel, 10), &steel, nullptr);
    AddBipyramid(b, At({}), 4, 50, 76, 110, 16, 45, Flat(paint::kSteel, 12));
    return FinishMesh(b);
}

Mesh HourglassMesh() {
    // Wooden ends, two posts, a glass bulb above and the run-down sand below.
    MeshBuilder b;
    const Paint wood = Flat(paint::kWood, 9);
    AddBox(b, At({}), {-122, kFloor, -122}, {122, kFloor + 32, 122}, AllSides(wood), kLowY);
    AddBox(b, At({}), {-122, 90, -122}, {122, 122, 122}, AllSides(wood));
    AddFrustum(b, At({}), 6, kFloor + 32, 88, -70, 12, 30, Flat(paint::kGold, 9), nullptr, nullptr);
    AddFrustum(b, At({}), 6, -70, 12, 90, 88, 30, Flat(paint::kTeal, 10), nullptr, nullptr);
    for (double s : {1.0, -1.0})
        AddBox(b, At({s * 102, 0, s * 26}), {-9, kFloor + 32, -9}, {9, 90, 9},
               AllSides(Flat(paint::kWood, 7)), kLowY | kHighY);
    return FinishMesh(b);
}
