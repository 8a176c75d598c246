// The screen transitions: 16 flat triangles in the plane z = 0, facing the
// viewer. The game doubles the coordinates and draws the first n faces
// 170 in front of the camera, so the picture closes face by face and is
// covered completely by all 16. At depth 170 the picture spans
// |x| <= 1.25 * 170 and |y| <= 0.9375 * 170 whatever its size; halved for
// the doubling, that is |x| <= 106.25 and |y| <= 79.7 in mesh units.
#include <cmath>
#include <stdexcept>

#include "meshes_builder.h"
#include "meshes_catalog.h"

namespace {

constexpr double kHalfWidth = 106.25;
constexpr double kHalfHeight = 79.7;
// Far enough beyond the picture that a triangle reaching it covers a whole
// half of the picture.
constexpr double kFar = 650;

const Vec3 kTowardViewer{0, 0, -1};

void AddTriangle(MeshBuilder& b, Vec3 p, Vec3 q, Vec3 r, Paint paint) {
    b.TriangleFacing(b.Point(p), b.Point(q), b.Point(r), kTowardViewer, paint);
}

// A triangle covering the picture wherever normal . p >= distance (normal
// of unit length in the x-y plane).
void AddHalfPlane(MeshBuilder& b, double angleDegrees, double distance, Paint paint) {
    const Vec3 n{std::cos(Radians(angleDegrees)), std::sin(Radians(angleDegrees)), 0};
    const Vec3 t{-n.y, n.x, 0};
    const Vec3 foot = n * distance;
    AddTriangle(b, foot + t * kFar, foot - t * kFar, n * (distance + kFar), paint);
}

// How far the picture reaches along a direction.
double Reach(double angleDegrees) {
    return kHalfWidth * std::fabs(std::cos(Radians(angleDegrees))) +
           kHalfHeight * std::fabs(std::sin(Radians(angleDegrees)));
}

// Sixteen bars across the picture, every other bar first, like blinds. A
// bar is one very wide, very flat triangle whose upper edge overlaps the bar
// above by more than a quarter of a bar over the picture's width, so that no
// row stays open between two bars even in a small picture.
void Shutters(MeshBuilder& b) {
    constexpr int kBars = kTransitionFaces;
    const double bar = 2 * kHalfHeight * 1.04 / kBars;
    const double top = kHalfHeight * 1.02;
    const double wide = 20 * kHalfWidth;
    const double rise = bar * 1.35;
    const Paint paint = Plain(paint::kSteel, 2);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = pass; i < kBars; i += 2) {
            const double bottom = top - (i + 1) * bar;
            AddTriangle(b, {-wide, bottom, 0}, {wide, bottom, 0}, {0, bottom + rise, 0}, paint);
        }
    }
}

// An aperture of straight blades closing in opposite pairs: first from the
// top and bottom, then from the sides, then across the corners, each pair
// nearer the middle, until the last pair crosses it.
void Iris(MeshBuilder& b) {
    const Paint paint = Plain(paint::kDeepBlue, 2);
    const double angles[kTransitionFaces / 2] = {90, 0, 45, 135, 67.5, 22.5, 112.5, 157.5};
    for (int pair = 0; pair < kTransitionFaces / 2; ++pair) {
        const double distance =
            pair + 1 < kTransitionFaces / 2 ? kHalfHeight * 0.88 * (1 - pair / 7.0) : -4.0;
        AddHalfPlane(b, angles[pair], distance, paint);
        AddHalfPlane(b, angles[pair] + 180, distance, paint);
    }
}

// A wipe from the top left corner to the bottom right one in equal steps,
// its front parallel to the other diagonal.
void DiagonalWipe(MeshBuilder& b) {
    const Paint paint = Plain(paint::kViolet, 2);
    const double angle = std::atan2(kHalfWidth, -kHalfHeight) * 180 / 3.14159265358979323846;
    const double reach = Reach(angle) * 1.04;
    for (int k = 0; k < kTransitionFaces; ++k) {
        const double front = reach - 2 * reach * (k + 1) / kTransitionFaces;
        AddHalfPlane(b, angle, front, paint);
    }
}

} // namespace

Mesh TransitionMesh(int style) {
    MeshBuilder b;
    switch (style) {
    case 1:
        Shutters(b);
        break;
    case 2:
        Iris(b);
        break;
    case 3:
        DiagonalWipe(b);
        break;
    default:
        throw std::invalid_argument("transition styles are 1 to 3");
    }
    return FinishMesh(b);
}
