// The sentry: a hovering steel drone with one red eye looking along -z,
// swept fins, an antenna and a glowing thruster underneath.
#include "meshes_builder.h"
#include "meshes_catalog.h"

Mesh SentryMesh() {
    MeshBuilder b;
    // The body hovers at head height of its 480-high box.
    constexpr double kCentre = 100;
    constexpr double kScale = 1.3;
    const Frame body = At({0, kCentre, 0});
    // Eight sides turned so that one side looks straight ahead (-z).
    constexpr double kPhase = 22.5;
    const Paint upper = Flat(paint::kSteel, 10);
    const Paint lower = Flat(paint::kSteel, 7);
    AddFrustum(b, body, 8, 45, 52, 75, 0, kPhase, upper, nullptr, nullptr);
    AddFrustum(b, body, 8, 0, 74, 45, 52, kPhase, upper, nullptr, nullptr);
    AddFrustum(b, body, 8, -45, 52, 0, 74, kPhase, lower, nullptr, nullptr);
    AddFrustum(b, body, 8, -75, 0, -45, 52, kPhase, lower, nullptr, nullptr);

    // The eye: a dark rim around a red lens with a bright glint, along -z.
    const Frame eye{RotX(-90), {0, kCentre, 0}};
    AddFrustum(b, eye, 8, 56, 40, 68, 35, kPhase, Flat(paint::kSteel, 4), nullptr, nullptr);
    AddFrustum(b, eye, 8, 66, 31, 80, 0, kPhase, Flat(paint::kBrick, 10), nullptr, nullptr);
    AddFrustum(b, eye, 4, 79, 8, 84, 0, 45, Plain(paint::kGold, 15), nullptr, nullptr);
    // A visor above the eye.
    AddBox(b, body, {-42, 30, -78}, {42, 40, -46}, AllSides(Flat(paint::kSteel, 5)), kHighZ);

    // Fins swept back on both sides.
    for (double s : {1.0, -1.0}) {
        const int root1 = b.Point({s * 66, kCentre + 22, -12});
        const int root2 = b.Point({s * 66, kCentre - 20, 12});
        const int tip1 = b.Point({s * 132, kCentre - 8, 46});
        const int tip2 = b.Point({s * 132, kCentre + 26, 34});
        b.QuadFacing(tip2, tip1, root2, root1, {0, 1, 0}, TwoSided(Flat(paint::kSteel, 9)));
    }

    // Antenna with a glowing tip.
    AddBox(b, body, {-5, 70, -5}, {5, 125, 5}, AllSides(Flat(paint::kSteel, 6)), kLowY | kHighY);
    AddBipyramid(b, body, 4, 120, 130, 142, 9, 45, Plain(paint::kLava, 14));

    // Thruster and its flame.
    AddFrustum(b, body, 6, -80, 0, -66, 30, 0, Flat(paint::kSteel, 5), nullptr, nullptr);
    AddFrustum(b, body, 4, -170, 0, -82, 15, 45, Plain(paint::kLava, 11), nullptr, nullptr);

    // Built at a comfortable size for the numbers above, shown a third larger.
    for (Vec3& p : b.points)
        p = Vec3{p.x * kScale, kCentre + (p.y - kCentre) * kScale, p.z * kScale};
    return FinishMesh(b);
}
