#include "meshes_builder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// The fixed light that shades flat faces: from above, a little from the
// right and from the front (-z) of the figures.
const Vec3 kLight = Normalized({0.35, 1.0, -0.55});
constexpr double kShadeLevels = 3.0;

Vec3 FaceNormal(const std::vector<Vec3>& points, int a, int b, int c) {
    return Cross(points[b] - points[a], points[c] - points[b]);
}

std::uint16_t Index(int i) {
    return static_cast<std::uint16_t>(i);
}

} // namespace

Paint Flat(int ramp, int level) {
    return Paint{static_cast<std::uint16_t>(RampColour(ramp, level)), kFaceFlat, 0, true};
}

Paint Plain(int ramp, int level) {
    return Paint{static_cast<std::uint16_t>(RampColour(ramp, level)), kFaceFlat, 0, false};
}

Paint Textured(int texture) {
    return Paint{static_cast<std::uint16_t>(texture), kFaceTextured, 0, false};
}

Paint Keyed(int texture) {
    return Paint{static_cast<std::uint16_t>(texture), kFaceTexturedKeyed, 0, false};
}

Paint TwoSided(Paint paint) {
    paint.doubleSided = 1;
    return paint;
}

BoxPaints AllSides(Paint paint) {
    return {paint, paint, paint};
}

int MeshBuilder::Point(Vec3 p) {
    points.push_back(p);
    return static_cast<int>(points.size()) - 1;
}

void MeshBuilder::Triangle(int a, int b, int c, Paint paint) {
    faces.push_back(
        Face{Index(a), Index(b), Index(c), paint.texture, 0, paint.doubleSided, paint.kind});
    shaded.push_back(paint.shaded);
}

void MeshBuilder::Quad(int tr, int br, int bl, int tl, Paint paint) {
    // Textured quadrilaterals are two triangles, the second turned by half a
    // turn, so that together they show the whole image.
    faces.push_back(
        Face{Index(tl), Index(tr), Index(br), paint.texture, 0, paint.doubleSided, paint.kind});
    shaded.push_back(paint.shaded);
    faces.push_back(
        Face{Index(br), Index(bl), Index(tl), paint.texture, 1, paint.doubleSided, paint.kind});
    shaded.push_back(paint.shaded);
}

void MeshBuilder::TriangleFacing(int a, int b, int c, Vec3 outward, Paint paint) {
    if (Dot(FaceNormal(points, a, b, c), outward) < 0) std::swap(b, c);
    Triangle(a, b, c, paint);
}

void MeshBuilder::QuadFacing(int tr, int br, int bl, int tl, Vec3 outward, Paint paint) {
    if (Dot(FaceNormal(points, tl, tr, br), outward) < 0) {
        // Seen from the other side: mirror left and right, keep top and bottom.
        std::swap(tr, tl);
        std::swap(br, bl);
    }
    Quad(tr, br, bl, tl, paint);
}

void AddBox(MeshBuilder& b, const Frame& frame, Vec3 low, Vec3 high, const BoxPaints& paints,
            unsigned omit, double topScaleX, double topScaleZ) {
    const double cx = (low.x + high.x) / 2, cz = (low.z + high.z) / 2;
    const double hx = (high.x - low.x) / 2, hz = (high.z - low.z) / 2;
    // Corner (i, j, k): i, j, k = 0 for the low side of x, y, z.
    int corner[2][2][2];
    for (int j = 0; j < 2; ++j) {
        const double sx = j ? topScaleX : 1.0, sz = j ? topScaleZ : 1.0;
        for (int i = 0; i < 2; ++i)
            for (int k = 0; k < 2; ++k)
                corner[i][j][k] = b.Point(frame(
                    {cx + (i ? hx : -hx) * sx, j ? high.y : low.y, cz + (k ? hz : -hz) * sz}));
    }
    const Vec3 centre = frame({cx, (low.y + high.y) / 2, cz});
    auto side = [&](int tr, int br, int bl, int tl, const Paint& paint) {
        const Vec3 mid = (b.points[tr] + b.points[bl]) * 0.5;
        b.QuadFacing(tr, br, bl, tl, mid - centre, paint);
    };
    if (!(omit & kLowZ))
        side(corner[0][1][0], corner[0][0][0], corner[1][0][0], corner[1][1][0], paints.sides);
    if (!(omit & kHighX))
        side(corner[1][1][0], corner[1][0][0], corner[1][0][1], corner[1][1][1], paints.sides);
    if (!(omit & kHighZ))
        side(corner[1][1][1], corner[1][0][1], corner[0][0][1], corner[0][1][1], paints.sides);
    if (!(omit & kLowX))
        side(corner[0][1][1], corner[0][0][1], corner[0][0][0], corner[0][1][0], paints.sides);
    if (!(omit & kHighY))
        side(corner[1][1][0], corner[1][1][1], corner[0][1][1], corner[0][1][0], paints.top);
    if (!(omit & kLowY))
        side(corner[1][0][1], corner[1][0][0], corner[0][0][0], corner[0][0][1], paints.bottom);
}

void AddFrustum(MeshBuilder& b, const Frame& frame, int sides, double y0, double r0, double y1,
                double r1, double phase, Paint side, const Paint* capBottom, const Paint* capTop) {
    auto ring = [&](double y, double r) {
        std::vector<int> indices;
        if (r == 0) {
            indices.assign(sides, b.Point(frame({0, y, 0})));
            return indices;
        }
        for (int i = 0; i < sides; ++i) {
            const double a = Radians(phase + 360.0 * i / sides);
            indices.push_back(b.Point(frame({r * std::cos(a), y, r * std::sin(a)})));
        }
        return indices;
    };
    const std::vector<int> low = ring(y0, r0);
    const std::vector<int> high = ring(y1, r1);
    const Vec3 axis = frame({0, (y0 + y1) / 2, 0});
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        const Vec3 mid =
            (b.points[low[i]] + b.points[low[j]] + b.points[high[i]] + b.points[high[j]]) * 0.25;
        if (r1 == 0)
            b.TriangleFacing(high[i], low[j], low[i], mid - axis, side);
        else if (r0 == 0)
            b.TriangleFacing(low[i], high[i], high[j], mid - axis, side);
        else
            b.QuadFacing(high[j], low[j], low[i], high[i], mid - axis, side);
    }
    const Vec3 up = frame({0, 1, 0}) - frame({0, 0, 0});
    for (int pass = 0; pass < 2; ++pass) {
        const Paint* cap = pass ? capTop : capBottom;
        const std::vector<int>& loop = pass ? high : low;
        if (!cap || (pass ? r1 : r0) == 0) continue;
        for (int i = 1; i + 1 < sides; ++i)
            b.TriangleFacing(loop[0], loop[i], loop[i + 1], pass ? up : up * -1.0, *cap);
    }
}

void AddBipyramid(MeshBuilder& b, const Frame& frame, int sides, double y0, double y1, double y2,
                  double r, double phase, Paint paint) {
    const int bottom = b.Point(frame({0, y0, 0}));
    std::vector<int> ring;
    for (int i = 0; i < sides; ++i) {
        const double a = Radians(phase + 360.0 * i / sides);
        ring.push_back(b.Point(frame({r * std::cos(a), y1, r * std::sin(a)})));
    }
    const int top = b.Point(frame({0, y2, 0}));
    const Vec3 centre = frame({0, y1, 0});
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        for (int apex : {top, bottom}) {
            const Vec3 mid = (b.points[apex] + b.points[ring[i]] + b.points[ring[j]]) * (1.0 / 3);
            b.TriangleFacing(apex, ring[i], ring[j], mid - centre, paint);
        }
    }
}

void AddFan(MeshBuilder& b, const std::vector<Vec3>& outline, Vec3 centre, Vec3 outward,
            Paint paint) {
    const int middle = b.Point(centre);
    std::vector<int> loop;
    for (Vec3 p : outline) loop.push_back(b.Point(p));
    for (std::size_t i = 0; i < loop.size(); ++i)
        b.TriangleFacing(middle, loop[i], loop[(i + 1) % loop.size()], outward, paint);
}

void AddExtrusion(MeshBuilder& b, const std::vector<Vec3>& outline, Vec3 centre, Vec3 depth,
                  Paint caps, Paint sides) {
    const std::size_t n = outline.size();
    std::vector<int> front, back;
    const int frontCentre = b.Point(centre);
    const int backCentre = b.Point(centre + depth);
    for (Vec3 p : outline) front.push_back(b.Point(p));
    for (Vec3 p : outline) back.push_back(b.Point(p + depth));
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        b.TriangleFacing(frontCentre, front[i], front[j], depth * -1.0, caps);
        b.TriangleFacing(backCentre, back[i], back[j], depth, caps);
        const Vec3 mid = (outline[i] + outline[j]) * 0.5;
        b.QuadFacing(front[j], back[j], back[i], front[i], mid - centre, sides);
    }
}

Mesh FinishMesh(const MeshBuilder& b) {
    if (b.points.empty() || b.faces.empty() || b.points.size() > 65536 || b.faces.size() > 65536)
        throw std::runtime_error("a mesh needs 1 to 65536 vertices and faces");
    Mesh mesh;
    mesh.lastVertex = static_cast<std::uint16_t>(b.points.size() - 1);
    mesh.lastFace = static_cast<std::uint16_t>(b.faces.size() - 1);
    for (Vec3 p : b.points) {
        mesh.x.push_back(static_cast<std::int32_t>(std::lround(p.x)));
        mesh.y.push_back(static_cast<std::int32_t>(std::lround(p.y)));
        mesh.z.push_back(static_cast<std::int32_t>(std::lround(p.z)));
    }
    mesh.faces = b.faces;
    for (std::size_t f = 0; f < b.faces.size(); ++f) {
        if (!b.shaded[f]) continue;
        Face& face = mesh.faces[f];
        const Vec3 normal = Normalized(FaceNormal(b.points, face.v1, face.v2, face.v3));
        const int ramp = face.texture / 16;
        const int level =
            face.texture % 16 + static_cast<int>(std::lround(kShadeLevels * Dot(normal, kLight)));
        face.texture = static_cast<std::uint16_t>(RampColour(ramp, std::clamp(level, 1, 15)));
        // Entry 255 is left out of the colour tables: lava's brightest is 254.
        if (face.texture == 255) face.texture = 254;
    }
    return mesh;
}

Mesh WithFacesOf(Mesh frame, const Mesh& first) {
    if (frame.VertexCount() != first.VertexCount() || frame.FaceCount() != first.FaceCount())
        throw std::runtime_error("key frames of one animation differ in size");
    frame.faces = first.faces;
    return frame;
}
