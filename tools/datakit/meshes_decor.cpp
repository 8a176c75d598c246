// Decorations without collision: a standing torch, a stone pillar, a plant
// and a crystal cluster.
#include <cmath>

#include "meshes_builder.h"
#include "meshes_catalog.h"

namespace {

constexpr double kFloor = -256;

// A flat diamond from `bottom` to `top`, `halfWidth` wide, in the plane
// turned by `yaw` about the y axis; seen from both sides.
void Diamond(MeshBuilder& b, double yaw, double bottom, double top, double halfWidth, Paint paint) {
    const Frame frame{RotY(yaw), {}};
    const double middle = bottom + (top - bottom) * 0.35;
    const int t = b.Point(frame({0, top, 0}));
    const int r = b.Point(frame({halfWidth, middle, 0}));
    const int d = b.Point(frame({0, bottom, 0}));
    const int l = b.Point(frame({-halfWidth, middle, 0}));
    b.QuadFacing(t, r, d, l, frame.turn * Vec3{0, 0, -1}, TwoSided(paint));
}

} // namespace

Mesh TorchMesh() {
    MeshBuilder b;
    AddFrustum(b, At({}), 4, kFloor, 80, kFloor + 34, 34, 45, Flat(paint::kSteel, 7), nullptr,
               nullptr);
    AddBox(b, At({}), {-14, kFloor + 34, -14}, {14, 40, 14}, AllSides(Flat(paint::kWood, 6)),
           kLowY | kHighY);
    const Paint embers = Plain(paint::kLava, 7);
    AddFrustum(b, At({}), 6, 30, 24, 96, 76, 0, Flat(paint::kSteel, 6), nullptr, &embers);
    // Crossed flames, a yellow core inside an orange body.
    for (double yaw : {0.0, 90.0}) Diamond(b, yaw, 84, 250, 66, Plain(paint::kLava, 13));
    for (double yaw : {45.0, 135.0}) Diamond(b, yaw, 88, 200, 36, Plain(paint::kGold, 15));
    return FinishMesh(b);
}

Mesh PillarMesh() {
    MeshBuilder b;
    const Paint stone = Textured(kTexStone);
    AddBox(b, At({}), {-150, kFloor, -150}, {150, -200, 150}, AllSides(stone), kLowY);
    AddFrustum(b, At({}), 8, -200, 100, 200, 90, 22.5, Textured(kTexMossyStone), nullptr, nullptr);
    AddBox(b, At({}), {-150, 200, -150}, {150, 255, 150}, AllSides(stone), kNoSide, 1.0, 1.0);
    return FinishMesh(b);
}

Mesh PlantMesh() {
    // Drooping outer leaves, upright inner ones and a flower bud on a stem.
    MeshBuilder b;
    struct Ring {
        int count;
        double phase, reach, rise, tipHeight, width;
        int level;
    };
    for (const Ring& ring :
         {Ring{7, 0, 240, 130, -150, 56, 8}, Ring{5, 30, 120, 280, 90, 40, 10}}) {
        for (int i = 0; i < ring.count; ++i) {
            const Frame leaf{RotY(ring.phase + 360.0 * i / ring.count), {}};
            const int base = b.Point(leaf({0, kFloor + 4, 8}));
            const int left = b.Point(leaf({-ring.width, kFloor + ring.rise, ring.reach * 0.5}));
            const int tip = b.Point(leaf({0, ring.tipHeight, ring.reach}));
            const int right = b.Point(leaf({ring.width, kFloor + ring.rise, ring.reach * 0.5}));
            b.QuadFacing(tip, right, base, left, {0, 1, 0},
                         TwoSided(Flat(paint::kGrass, ring.level)));
        }
    }
    AddBox(b, At({}), {-6, kFloor, -6}, {6, 150, 6}, AllSides(Flat(paint::kMoss, 9)),
           kLowY | kHighY);
    AddBipyramid(b, At({}), 5, 140, 178, 222, 28, 0, Flat(paint::kPink, 10));
    return FinishMesh(b);
}

Mesh CrystalMesh() {
    MeshBuilder b;
    struct Shard {
        Vec3 foot;
        double tiltX, tiltZ, height, radius;
        Paint paint;
    };
    for (const Shard& s : {Shard{{0, kFloor, 0}, 0, 6, 470, 74, Flat(paint::kViolet, 9)},
                           Shard{{90, kFloor, 50}, 18, -26, 310, 54, Flat(paint::kTeal, 10)},
                           Shard{{-84, kFloor, -40}, -22, 24, 220, 42, Flat(paint::kViolet, 11)}}) {
        const Frame frame{RotX(s.tiltX) * RotZ(s.tiltZ), s.foot};
        AddBipyramid(b, frame, 6, 0, 40, s.height, s.radius, 0, s.paint);
    }
    return FinishMesh(b);
}
