// Mesh submission: rotation, camera transform, back-face culling, near
// clipping, projection and sprites, ending in the polygon queue.
#include <algorithm>
#include <cmath>
#include <limits>

#include "draw/pipeline.h"
#include "draw/pipeline_math.h"
#include "engine/mesh.h"

namespace {

using pipeline::Point;
using i64 = std::int64_t;

// Sum of squares that saturates instead of wrapping: vertices far from the
// camera (a sky mesh) must still sort as far away.
i64 SortKey(const Point (&p)[3]) {
    i64 key = 0;
    for (const Point& v : p) {
        for (const i64 c : {i64{v.x}, i64{v.y}, i64{v.z}}) {
            if (__builtin_add_overflow(key, c * c, &key)) return std::numeric_limits<i64>::max();
        }
    }
    return key;
}

std::int32_t ClampToInt32(__int128 value) {
    return static_cast<std::int32_t>(std::clamp<__int128>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// True when the face looks away from the camera: n . g >= 1, with n the
// normal (b - a) x (c - b) shifted right by 8 and g the centroid. Wide
// arithmetic keeps far-away faces from wrapping around.
bool FacesAway(const Point& a, const Point& b, const Point& c) {
    using i128 = __int128;
    const i128 d1x = i64{b.x} - a.x, d1y = i64{b.y} - a.y, d1z = i64{b.z} - a.z;
    const i128 d2x = i64{c.x} - b.x, d2y = i64{c.y} - b.y, d2z = i64{c.z} - b.z;
    const i128 nx = (d1y * d2z - d1z * d2y) >> 8;
    const i128 ny = (d1z * d2x - d1x * d2z) >> 8;
    const i128 nz = (d1x * d2y - d1y * d2x) >> 8;
    const i128 gx = (i64{a.x} + b.x + c.x) / 3;
    const i128 gy = (i64{a.y} + b.y + c.y) / 3;
    const i128 gz = (i64{a.z} + b.z + c.z) / 3;
    return nx * gx + ny * gy + nz * gz >= 1;
}

// The point of the edge from p to q (q in front of the plane, p not) at
// depth `nearZ`, interpolated with 6 fraction bits.
Point OnNearPlane(const Point& p, const Point& q, std::int32_t nearZ) {
    const i64 dz = i64{q.z} - p.z;
    const i64 toPlane = i64{nearZ} - p.z;
    auto along = [&](std::int32_t from, std::int32_t to) {
        const __int128 step = (i64{64} * (i64{to} - from)) / dz;
        return ClampToInt32(from + step * toPlane / 64);
    };
    return Point{along(p.x, q.x), along(p.y, q.y), along(p.z, q.z)};
}

struct Submission {
    RenderContext& rc;
    std::int32_t nearZ;
    std::int32_t transparency;
    std::int32_t shade;
};

void Enqueue(Submission& s, const QueuedPolygon& polygon) {
    RenderContext& rc = s.rc;
    if (rc.queueCount >= static_cast<std::int32_t>(rc.queue.size())) return; // queue full: dropped
    rc.queue[rc.queueCount++] = polygon;
}

bool OffScreen(const Projection& p, const std::int32_t (&sx)[3], const std::int32_t (&sy)[3]) {
    const auto [minX, maxX] = std::minmax({sx[0], sx[1], sx[2]});
    const auto [minY, maxY] = std::minmax({sy[0], sy[1], sy[2]});
    return maxX < 0 || minX > p.maxX || maxY < 0 || minY > p.maxY;
}

QueuedPolygon MakePolygon(const Submission& s, const Point (&v)[3], i64 key) {
    QueuedPolygon polygon{};
    for (int i = 0; i < 3; ++i) {
        polygon.x[i] = v[i].x;
        polygon.y[i] = v[i].y;
        polygon.z[i] = v[i].z;
        polygon.shade[i] = s.shade;
    }
    polygon.sortKey = key;
    polygon.transparency = s.transparency;
    return polygon;
}

// Projects the corners of one (clipped) triangle and queues it unless it
// lies wholly off screen.
void QueueTriangle(Submission& s, QueuedPolygon polygon, const Point (&corners)[3]) {
    const Projection& p = s.rc.projection;
    for (int i = 0; i < 3; ++i) {
        polygon.sx[i] = pipeline::ProjectX(p, corners[i].x, corners[i].z);
        polygon.sy[i] = pipeline::ProjectY(p, corners[i].y, corners[i].z);
    }
    if (OffScreen(p, polygon.sx, polygon.sy)) return;
    Enqueue(s, polygon);
}

void SubmitFace(Submission& s, const Face& face, const Point (&v)[3]) {
    if (v[0].z <= s.nearZ && v[1].z <= s.nearZ && v[2].z <= s.nearZ) return;
    if (face.doubleSided == 0 && FacesAway(v[0], v[1], v[2])) return;

    QueuedPolygon polygon = MakePolygon(s, v, SortKey(v));
    polygon.texture = face.texture;
    polygon.flip = face.flip;
    polygon.kind = face.kind;
    polygon.directImage = 0;

    // Far, middle and near vertex by depth.
    int order[3] = {0, 1, 2};
    // Insertion sort: stable, and no allocation as std::stable_sort may make.
    for (int i = 1; i < 3; ++i) {
        for (int j = i; j > 0; --j) {
            const int a = order[j], b = order[j - 1];
            if (!(v[a].z > v[b].z)) break;
            std::swap(order[j], order[j - 1]);
        }
    }
    const Point& far = v[order[0]];
    const Point& middle = v[order[1]];
    const Point& nearest = v[order[2]];

    if (nearest.z > s.nearZ) {
        QueueTriangle(s, polygon, v);
    } else if (middle.z <= s.nearZ) {
        // Two vertices behind the plane: both slide towards the far one.
        Point clipped[3] = {v[0], v[1], v[2]};
        clipped[order[1]] = OnNearPlane(middle, far, s.nearZ);
        clipped[order[2]] = OnNearPlane(nearest, far, s.nearZ);
        QueueTriangle(s, polygon, clipped);
    } else {
        // One vertex behind: the visible quadrilateral as two triangles.
        const Point pf = OnNearPlane(nearest, far, s.nearZ);
        const Point pm = OnNearPlane(nearest, middle, s.nearZ);
        QueueTriangle(s, polygon, {far, middle, pf});
        QueueTriangle(s, polygon, {pf, middle, pm});
    }
}

// Image of a sprite's texture entry for the direction it is seen from.
std::int32_t SpriteImage(const TextureEntry& entry, std::int32_t viewAngle, std::int32_t yaw) {
    const i64 n = i64{entry.last} - entry.first + 1;
    if (n == 0) return entry.first;
    i64 p = (viewAngle - i64{yaw} * 180 / 16384 + 160 / n) % 360;
    if (p < 0) p += 360;
    return static_cast<std::int32_t>(entry.first + p * n / 360);
}

// A rectangle facing the camera, centred on `centre` (camera space), as two
// keyed triangles that share one image.
void SubmitSprite(Submission& s, const Face& face, const Point& centre, std::int32_t image) {
    if (centre.z <= s.nearZ) return;
    const Camera& camera = s.rc.camera;
    const Projection& p = s.rc.projection;
    const double cosR = camera.cosRoll, sinR = camera.sinRoll;
    const i64 w = face.v2, h = face.v3, z = centre.z;

    const i64 I = RoundEven(w * cosR), J = RoundEven(w * sinR);
    const i64 K = RoundEven(h * cosR), L = RoundEven(h * sinR);
    const i64 qx = centre.x - (I - J) / 2, qy = centre.y - (K + L) / 2;
    auto at = [&](i64 dx, i64 dy) {
        return Point{ClampToInt32(qx + dx), ClampToInt32(qy + dy), centre.z};
    };
    const Point first[3] = {at(I, L), at(0, 0), at(-J, K)};
    const Point second[3] = {at(-J, K), at(I - L, K + J), at(I, L)};

    const i64 sx = pipeline::ProjectX(p, qx, z), sy = pipeline::ProjectY(p, qy, z);
    const i64 sw = i64{p.fx} * w / z, sh = -(i64{p.fy} * h / z);
    const i64 a = RoundEven(sw * cosR), b = RoundEven(sw * sinR);
    const i64 c = RoundEven(sh * cosR), d = RoundEven(sh * sinR);
    const i64 firstScreen[3][2] = {{sx - b, sy + c}, {sx, sy}, {sx + a, sy + d}};
    const i64 secondScreen[3][2] = {{sx - b, sy + c}, {sx + a + d, sy + c - b}, {sx + a, sy + d}};

    auto queue = [&](const Point(&v)[3], const i64(&screen)[3][2], std::int32_t flip) {
        // Sorted like any other polygon, by its own corners, so that a
        // sprite behind a wall stays hidden by it.
        QueuedPolygon polygon = MakePolygon(s, v, SortKey(v));
        for (int i = 0; i < 3; ++i) {
            polygon.sx[i] = pipeline::ScreenClamp(screen[i][0]);
            polygon.sy[i] = pipeline::ScreenClamp(screen[i][1]);
        }
        polygon.texture = image;
        polygon.flip = flip;
        polygon.kind = kFaceTexturedKeyed;
        polygon.directImage = 1;
        if (!OffScreen(p, polygon.sx, polygon.sy)) Enqueue(s, polygon);
    };
    queue(first, firstScreen, 1);
    queue(second, secondScreen, 0);
}

} // namespace

void SubmitMesh(const Mesh* mesh, std::int32_t x, std::int32_t y, std::int32_t z,
                std::int32_t transparencyPercent, std::int32_t baseShade, std::int32_t yaw,
                std::int32_t pitch, std::int32_t roll) {
    if (!mesh) return;
    SubmitMeshFaces(mesh, mesh->FaceCount(), x, y, z, transparencyPercent, baseShade, yaw, pitch,
                    roll);
}

void SubmitMeshFaces(const Mesh* mesh, int faceLimit, std::int32_t x, std::int32_t y,
                     std::int32_t z, std::int32_t transparencyPercent, std::int32_t baseShade,
                     std::int32_t yaw, std::int32_t pitch, std::int32_t roll) {
    RenderContext& rc = renderContext;
    if (!mesh) return;
    const int vertexCount = mesh->VertexCount();
    const int faceCount = std::clamp(faceLimit, 0, mesh->FaceCount());
    const auto vertices = static_cast<std::size_t>(vertexCount);
    if (mesh->x.size() < vertices || mesh->y.size() < vertices || mesh->z.size() < vertices ||
        mesh->faces.size() < static_cast<std::size_t>(faceCount))
        return;

    // Camera-space vertices go into the scratch mesh.
    InitScratchMesh();
    Mesh& scratch = scratchMesh;
    if (scratch.x.size() < vertices) {
        scratch.x.resize(vertices);
        scratch.y.resize(vertices);
        scratch.z.resize(vertices);
    }
    const bool rotated = pitch != 0 || roll != 0 || yaw != 0;
    const Matrix3 turn = rotated
                             ? RotationMatrix(static_cast<float>(yaw), static_cast<float>(pitch),
                                              static_cast<float>(roll))
                             : Matrix3{};
    for (int i = 0; i < vertexCount; ++i) {
        Point v{mesh->x[i], mesh->y[i], mesh->z[i]};
        if (rotated) v = pipeline::Rotate(turn, v.x, v.y, v.z);
        const Point c = pipeline::ToCamera(rc.camera, i64{v.x} + x, i64{v.y} + y, i64{v.z} + z);
        scratch.x[i] = c.x;
        scratch.y[i] = c.y;
        scratch.z[i] = c.z;
    }

    Submission s{rc, std::max(rc.projection.nearDistance, 1),
                 static_cast<std::int32_t>(
                     std::clamp<i64>(i64{transparencyPercent} * 16 / 100, 0, kBlendPlanes - 1)),
                 baseShade};
    auto camera = [&](int i) { return Point{scratch.x[i], scratch.y[i], scratch.z[i]}; };

    for (int f = 0; f < faceCount; ++f) {
        const Face& face = mesh->faces[f];
        if (face.v1 >= vertexCount) continue;
        if (face.kind == kFaceSprite) {
            if (face.texture >= rc.textures.size()) continue;
            const float dx = static_cast<float>(i64{mesh->x[face.v1]} + x - rc.camera.x);
            const float dz = static_cast<float>(i64{mesh->z[face.v1]} + z - rc.camera.z);
            const std::int32_t image =
                SpriteImage(rc.textures[face.texture], VectorAngle(dx, dz), yaw);
            SubmitSprite(s, face, camera(face.v1), image);
            continue;
        }
        if (face.v2 >= vertexCount || face.v3 >= vertexCount) continue;
        const Point v[3] = {camera(face.v1), camera(face.v2), camera(face.v3)};
        SubmitFace(s, face, v);
    }
}
