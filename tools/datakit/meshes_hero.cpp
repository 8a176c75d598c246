// The hero: a jointed figure of boxes (head, torso, arms and legs) posed by
// joint angles. Every pose runs the same building steps, so all poses share
// one vertex order and face list and the game can blend between them.
#include <algorithm>
#include <cmath>

#include "meshes_builder.h"
#include "meshes_catalog.h"

namespace {

struct Limb {
    double swing = 0;  // forward (toward -z) from hanging straight down
    double spread = 0; // outward, away from the body's middle
    double bend = 0;   // elbow forward / knee backward
};

struct HeroPose {
    double pitch = 0; // the whole body about the hips' x axis (90: lying on its back)
    double lean = 0;  // torso forward
    double nod = 0;   // head forward
    double twist = 0; // torso about its own vertical axis
    Limb arm[2];      // 0: the +x side, 1: the -x side
    Limb leg[2];
    bool flatFeet = true; // soles kept level with the floor
};

// Feet at y = -240: the body is 480 high around its centre.
constexpr double kFloor = -240;

const Paint kFlesh = Flat(paint::kSkin, 10);
const Paint kHair = Flat(paint::kWood, 4);
const Paint kShirt = Flat(paint::kDeepBlue, 9);
const Paint kSleeve = Flat(paint::kDeepBlue, 8);
const Paint kTrousers = Flat(paint::kDeepBlue, 6);
const Paint kBelt = Flat(paint::kWood, 5);
const Paint kBoots = Flat(paint::kWood, 3);
const Paint kEmblem = Flat(paint::kGold, 11);
const Paint kEyes = Plain(paint::kDeepBlue, 2);

void AddArm(MeshBuilder& b, const Frame& torso, int side, const Limb& limb) {
    const double s = side == 0 ? 1 : -1;
    const Frame shoulder = torso.Child({s * 80, 122, 0}, RotX(limb.swing) * RotZ(s * limb.spread));
    AddBox(b, shoulder, {-17, -92, -18}, {17, 8, 18}, AllSides(kSleeve));
    const Frame elbow = shoulder.Child({0, -88, 0}, RotX(limb.bend));
    AddBox(b, elbow, {-15, -80, -16}, {15, 4, 16}, AllSides(kSleeve), kNoSide, 1.05, 1.05);
    const Frame wrist = elbow.Child({0, -80, 0}, Mat3{});
    AddBox(b, wrist, {-12, -30, -10}, {12, 2, 10}, AllSides(kFlesh), kHighY);
}

void AddLeg(MeshBuilder& b, const Frame& hips, int side, const Limb& limb, double foot) {
    const double s = side == 0 ? 1 : -1;
    const Frame hip = hips.Child({s * 30, -18, 0}, RotX(limb.swing) * RotZ(s * limb.spread));
    AddBox(b, hip, {-20, -112, -21}, {20, 10, 21}, AllSides(kTrousers), kHighY, 1.18, 1.2);
    const Frame knee = hip.Child({0, -108, 0}, RotX(-limb.bend));
    AddBox(b, knee, {-19, -86, -20}, {19, 4, 20}, AllSides(kTrousers), kLowY);
    const Frame ankle = knee.Child({0, -85, 0}, RotX(foot));
    AddBox(b, ankle, {-22, -36, -48}, {22, 0, 22}, AllSides(kBoots));
}

MeshBuilder BuildHero(const HeroPose& pose) {
    MeshBuilder b;
    // Hips: the body's pivot, 8 above the centre.
    const Frame hips{RotX(pose.pitch), {0, 8, 0}};
    AddBox(b, hips, {-56, -33, -34}, {56, 32, 34}, {kTrousers, kBelt, kTrousers}, kHighY);
    const Frame torso = hips.Child({0, 27, 0}, RotX(pose.lean) * RotY(pose.twist));
    AddBox(b, torso, {-54, 0, -34}, {54, 135, 34}, {kShirt, kShirt, kShirt}, kLowY, 1.44, 1.18);
    // A gold diamond on the chest, just in front of the shirt.
    const double chestZ = -(34 + 6 * 95.0 / 135) - 1.5;
    const int top = b.Point(torso({0, 112, chestZ}));
    const int right = b.Point(torso({16, 95, chestZ}));
    const int bottom = b.Point(torso({0, 78, chestZ}));
    const int left = b.Point(torso({-16, 95, chestZ}));
    b.QuadFacing(top, right, bottom, left, torso.turn * Vec3{0, 0, -1}, kEmblem);

    const Frame neck = torso.Child({0, 135, 0}, RotX(pose.nod));
    AddBox(b, neck, {-14, -6, -14}, {14, 12, 14}, AllSides(kFlesh), kLowY | kHighY);
    // The head: a face in front, hair behind and on top, not overlapping
    // (overlapping faces would be sorted unpredictably).
    AddBox(b, neck, {-33, 8, -35}, {33, 50, 14}, AllSides(kFlesh), kHighY | kHighZ);
    AddBox(b, neck, {-35, 8, 14}, {35, 50, 38}, AllSides(kHair), kLowZ | kHighY);
    AddBox(b, neck, {-35, 48, -36}, {35, 76, 38}, AllSides(kHair), kLowY);
    for (double s : {1.0, -1.0}) {
        const int tr = b.Point(neck({s * 13 + 7, 38, -36.5}));
        const int br = b.Point(neck({s * 13 + 7, 31, -36.5}));
        const int bl = b.Point(neck({s * 13 - 7, 31, -36.5}));
        const int tl = b.Point(neck({s * 13 - 7, 38, -36.5}));
        b.QuadFacing(tr, br, bl, tl, neck.turn * Vec3{0, 0, -1}, kEyes);
    }

    for (int side = 0; side < 2; ++side) AddArm(b, torso, side, pose.arm[side]);
    for (int side = 0; side < 2; ++side) {
        const Limb& limb = pose.leg[side];
        const double foot = pose.flatFeet ? limb.bend - limb.swing - pose.pitch : 0;
        AddLeg(b, hips, side, limb, foot);
    }

    // Stand the figure on the floor.
    double lowest = b.points.front().y;
    for (const Vec3& p : b.points) lowest = std::min(lowest, p.y);
    for (Vec3& p : b.points) p.y += kFloor - lowest;
    return b;
}

HeroPose Mirrored(HeroPose pose) {
    std::swap(pose.arm[0], pose.arm[1]);
    std::swap(pose.leg[0], pose.leg[1]);
    pose.twist = -pose.twist;
    return pose;
}

std::vector<HeroPose> Poses() {
    HeroPose stand;
    stand.arm[0] = stand.arm[1] = {2, 7, 10};
    stand.leg[0] = stand.leg[1] = {0, 2, 0};

    // Stride: the +x leg ahead, arms swinging against the legs.
    HeroPose stride;
    stride.lean = 5;
    stride.twist = 6;
    stride.leg[0] = {28, 2, 6};
    stride.leg[1] = {-24, 2, 22};
    stride.arm[0] = {-26, 8, 14};
    stride.arm[1] = {28, 8, 30};

    // Passing: the +x leg carries the weight, the other swings through.
    HeroPose passing;
    passing.lean = 4;
    passing.leg[0] = {-6, 2, 6};
    passing.leg[1] = {22, 2, 55};
    passing.arm[0] = {-6, 7, 14};
    passing.arm[1] = {8, 7, 18};

    HeroPose fall;
    fall.lean = -6;
    fall.nod = -10;
    fall.arm[0] = fall.arm[1] = {15, 135, 30};
    fall.leg[0] = {14, 8, 30};
    fall.leg[1] = {-6, 8, 20};

    HeroPose crouch;
    crouch.lean = 28;
    crouch.nod = -18;
    crouch.arm[0] = crouch.arm[1] = {40, 12, 55};
    crouch.leg[0] = crouch.leg[1] = {78, 6, 125};

    HeroPose dead;
    dead.pitch = 90;
    dead.nod = 10;
    dead.flatFeet = false;
    dead.arm[0] = {0, 70, 20};
    dead.arm[1] = {0, 55, 35};
    dead.leg[0] = {0, 12, 8};
    dead.leg[1] = {0, 6, 14};

    // Climbing: the ladder is ahead; one hand high, the other knee raised.
    HeroPose climb;
    climb.lean = 6;
    climb.nod = -12;
    climb.arm[0] = {165, 6, 20};
    climb.arm[1] = {120, 6, 55};
    climb.leg[0] = {8, 3, 14};
    climb.leg[1] = {62, 3, 88};

    HeroPose action;
    action.lean = 10;
    action.twist = -10;
    action.arm[0] = {86, 2, 0};
    action.arm[1] = {-18, 10, 25};
    action.leg[0] = {18, 3, 8};
    action.leg[1] = {-14, 3, 12};

    return {
        stand, stride,          passing, Mirrored(stride), Mirrored(passing), fall, crouch, dead,
        climb, Mirrored(climb), action};
}

} // namespace

std::vector<Mesh> HeroPoses() {
    std::vector<Mesh> poses;
    for (const HeroPose& pose : Poses()) poses.push_back(FinishMesh(BuildHero(pose)));
    // Blending keeps the faces of the pose it starts from: one face list for all.
    for (Mesh& pose : poses) pose = WithFacesOf(pose, poses.front());
    return poses;
}

Mesh ShadowMesh() {
    // A dark disc lying flat, seen from above.
    MeshBuilder b;
    std::vector<Vec3> rim;
    constexpr int kSides = 14;
    for (int i = 0; i < kSides; ++i) {
        const double a = Radians(360.0 * i / kSides);
        rim.push_back({118 * std::cos(a), 0, 104 * std::sin(a)});
    }
    AddFan(b, rim, {0, 0, 0}, {0, 1, 0}, Plain(paint::kGrey, 1));
    return FinishMesh(b);
}
