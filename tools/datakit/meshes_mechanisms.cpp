// Cell objects that the player works with or walks on: ladders, levers,
// doors, springs, ramps, spikes, the key block's sensor and the soil that is
// dug away and grows back. Cells are centred: -256..255 on each axis.
#include <functional>

#include "meshes_builder.h"
#include "meshes_catalog.h"

namespace {

constexpr double kLow = -256, kHigh = 255;

// Frames of one animation share the first frame's faces.
std::vector<Mesh> AsAnimation(std::vector<Mesh> frames) {
    for (Mesh& frame : frames) frame = WithFacesOf(frame, frames.front());
    return frames;
}

// `circuit` colours the base's sides and the knob: the doors the lever opens
// carry the same colour.
Mesh Lever(double angle, int circuit, std::size_t* lampFirst, std::size_t* lampEnd) {
    MeshBuilder b;
    AddBox(b, At({}), {-140, kLow, -86}, {140, -196, 86},
           {Flat(circuit, 9), Textured(kTexMetal), Flat(paint::kSteel, 6)}, kLowY);
    for (double s : {1.0, -1.0})
        AddBox(b, At({s * 32, 0, 0}), {-8, -196, -20}, {8, -152, 20},
               AllSides(Flat(paint::kSteel, 11)), kLowY);
    // The handle turns about the x axis through the pivot: off leans toward
    // -z, on toward +z.
    const Frame handle{RotX(angle), {0, -176, 0}};
    AddBox(b, handle, {-13, -14, -13}, {13, 270, 13}, AllSides(Flat(paint::kWood, 9)), kLowY);
    AddBipyramid(b, handle, 6, 254, 286, 322, 34, 0, Flat(circuit, 11));
    // A small lamp on the base: red until the lever is fully on.
    *lampFirst = b.faces.size();
    AddBox(b, At({}), {84, -196, -72}, {118, -178, -40}, AllSides(Plain(paint::kBrick, 12)), kLowY);
    *lampEnd = b.faces.size();
    return FinishMesh(b);
}

Mesh Door(double top, int texture) {
    MeshBuilder b;
    AddBox(b, At({}), {kLow, kLow, kLow}, {kHigh, top, kHigh},
           {Textured(texture), Textured(kTexMetal), Textured(kTexMetal)}, kLowY);
    return FinishMesh(b);
}

Mesh Spring(double top) {
    MeshBuilder b;
    AddBox(b, At({}), {-150, kLow, -150}, {150, -230, 150}, AllSides(Flat(paint::kSteel, 9)),
           kLowY);
    // The coil: a keyed texture on a six-sided sleeve, seen through from both sides.
    AddFrustum(b, At({}), 6, -230, 100, top - 16, 100, 0, TwoSided(Keyed(kTexSpring)), nullptr,
               nullptr);
    AddBox(b, At({}), {-135, top - 16, -135}, {135, top, 135},
           {Flat(paint::kSteel, 10), Flat(paint::kBrick, 9), Flat(paint::kSteel, 7)});
    return FinishMesh(b);
}

// Soil in four columns that sink and shrink at their own pace.
Mesh Soil(const double (&tops)[4], double shrink, int texture) {
    MeshBuilder b;
    for (int i = 0; i < 4; ++i) {
        const double x0 = i % 2 ? 0 : kLow, x1 = i % 2 ? kHigh : 0;
        const double z0 = i / 2 ? 0 : kLow, z1 = i / 2 ? kHigh : 0;
        const double cx = (x0 + x1) / 2, cz = (z0 + z1) / 2;
        const double hx = (x1 - x0) / 2 * shrink, hz = (z1 - z0) / 2 * shrink;
        AddBox(b, At({}), {cx - hx, kLow, cz - hz}, {cx + hx, tops[i], cz + hz},
               AllSides(Textured(texture)), kLowY);
    }
    return FinishMesh(b);
}

// A ramp rising along +x is mapped onto the other directions by `place`
// (points) and `turn` (directions).
Mesh RampFrom(const std::function<Vec3(Vec3)>& place, const std::function<Vec3(Vec3)>& turn) {
    MeshBuilder b;
    const int a = b.Point(place({kLow, kLow, kLow}));
    const int bb = b.Point(place({kHigh, kLow, kLow}));
    const int c = b.Point(place({kHigh, kHigh, kLow}));
    const int d = b.Point(place({kLow, kLow, kHigh}));
    const int e = b.Point(place({kHigh, kLow, kHigh}));
    const int f = b.Point(place({kHigh, kHigh, kHigh}));
    const Paint stone = Textured(kTexStone);
    b.QuadFacing(f, d, a, c, turn({-1, 1, 0}), stone);  // the slope, its high edge on top
    b.QuadFacing(f, e, bb, c, turn({1, 0, 0}), stone);  // the high end
    b.QuadFacing(e, d, a, bb, turn({0, -1, 0}), stone); // underneath
    b.TriangleFacing(c, bb, a, turn({0, 0, -1}), stone);
    b.TriangleFacing(f, e, d, turn({0, 0, 1}), stone);
    return FinishMesh(b);
}

} // namespace

Mesh LadderMesh(bool wideInX) {
    // A panel of the rung texture, its painted rails wrapped in wooden rails
    // of their own so that the ladder has some depth; thin enough that a
    // climber stands in front of it or behind it.
    MeshBuilder b;
    const Frame frame{wideInX ? Mat3{} : RotY(90), {}};
    // The texture's rails lie at u 4..17 and 110..123 of 128.
    constexpr double kPanel = 232;
    constexpr double kRailFrom = kPanel * (2 * 4 / 128.0 - 1);
    constexpr double kRailTo = kPanel * (2 * 18 / 128.0 - 1);
    for (double s : {1.0, -1.0})
        AddBox(b, frame, {s * kRailFrom, kLow, -14}, {s * kRailTo, kHigh, 14},
               AllSides(Flat(paint::kWood, 8)), kNoSide);
    const int tr = b.Point(frame({kPanel, kHigh, 0}));
    const int br = b.Point(frame({kPanel, kLow, 0}));
    const int bl = b.Point(frame({-kPanel, kLow, 0}));
    const int tl = b.Point(frame({-kPanel, kHigh, 0}));
    b.QuadFacing(tr, br, bl, tl, frame.turn * Vec3{0, 0, -1}, TwoSided(Keyed(kTexLadder)));
    return FinishMesh(b);
}

std::vector<Mesh> LeverFrames(int circuit) {
    std::vector<Mesh> frames;
    std::size_t lampFirst = 0, lampEnd = 0;
    for (double angle : {-38.0, -13.0, 13.0, 38.0})
        frames.push_back(Lever(angle, circuit, &lampFirst, &lampEnd));
    frames = AsAnimation(frames);
    for (std::size_t f = lampFirst; f < lampEnd; ++f)
        frames.back().faces[f].texture = RampColour(paint::kGrass, 12);
    return frames;
}

std::vector<Mesh> DoorFrames(int texture) {
    return AsAnimation(
        {Door(kHigh, texture), Door(90, texture), Door(-80, texture), Door(-236, texture)});
}

std::vector<Mesh> SpringFrames() {
    return AsAnimation({Spring(-70), Spring(-175), Spring(60)});
}

std::vector<Mesh> DigFrames(int texture) {
    return AsAnimation({Soil({kHigh, kHigh, kHigh, kHigh}, 1.0, texture),
                        Soil({120, 40, 80, -10}, 0.93, texture),
                        Soil({-60, -140, -100, -170}, 0.8, texture),
                        Soil({-236, -240, -238, -242}, 0.6, texture)});
}

std::vector<Mesh> RefillFrames() {
    std::vector<Mesh> dig = DigFrames(kTexRootedSoil);
    return AsAnimation({dig[3], dig[2], dig[1], dig[0]});
}

Mesh RampMesh(RampDirection direction) {
    // lo and hi swap under the mirror v -> -1 - v, keeping -256..255.
    switch (direction) {
    case kRampPlusX:
        return RampFrom([](Vec3 p) { return p; }, [](Vec3 v) { return v; });
    case kRampMinusX:
        return RampFrom(
            [](Vec3 p) {
                return Vec3{-1 - p.x, p.y, p.z};
            },
            [](Vec3 v) {
                return Vec3{-v.x, v.y, v.z};
            });
    case kRampPlusZ:
        return RampFrom(
            [](Vec3 p) {
                return Vec3{p.z, p.y, p.x};
            },
            [](Vec3 v) {
                return Vec3{v.z, v.y, v.x};
            });
    case kRampMinusZ:
        return RampFrom(
            [](Vec3 p) {
                return Vec3{p.z, p.y, -1 - p.x};
            },
            [](Vec3 v) {
                return Vec3{v.z, v.y, -v.x};
            });
    }
    return {};
}

Mesh SpikesMesh() {
    MeshBuilder b;
    AddBox(b, At({}), {-240, kLow, -240}, {240, -236, 240},
           {Flat(paint::kSteel, 7), Textured(kTexSpikes), Flat(paint::kSteel, 5)}, kLowY);
    for (int i = 0; i < 9; ++i) {
        const double x = (i % 3 - 1) * 150, z = (i / 3 - 1) * 150;
        const double tip = i % 2 ? -70 : -30;
        AddFrustum(b, At({x, 0, z}), 4, -236, 44, tip, 0, 45, Flat(paint::kSteel, 12), nullptr,
                   nullptr);
    }
    return FinishMesh(b);
}

Mesh SensorMesh() {
    // A whole floor block whose top is the glowing plate.
    MeshBuilder b;
    AddBox(b, At({}), {kLow, kLow, kLow}, {kHigh, kHigh, kHigh},
           {Textured(kTexMetal), Textured(kTexSensor), Textured(kTexMetal)}, kLowY);
    return FinishMesh(b);
}
