// Drawing the polygon queue: lighting, the far-to-near sort, the rasterizer
// pass into the main buffer and the shifted pass for the second eye.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/pipeline.h"
#include "draw/pipeline_math.h"
#include "draw/rasterizer.h"
#include "engine/mesh.h"

namespace {

using i64 = std::int64_t;

struct CameraLight {
    i64 x, y, z;
    i64 radius;
};

// Each vertex's shade: its base shade plus the share of every light that
// reaches it, clamped to 0..255. A light without a positive radius adds
// nothing.
void LightPolygon(QueuedPolygon& polygon, const CameraLight* lights, int lightCount) {
    for (int k = 0; k < 3; ++k) {
        i64 shade = polygon.shade[k];
        for (int l = 0; l < lightCount; ++l) {
            const CameraLight& light = lights[l];
            if (light.radius <= 0) continue;
            const double dx = static_cast<double>(polygon.x[k] - light.x);
            const double dy = static_cast<double>(polygon.y[k] - light.y);
            const double dz = static_cast<double>(polygon.z[k] - light.z);
            const i64 distance = RoundEven(std::sqrt(dx * dx + dy * dy + dz * dz));
            shade += 255 - std::min<i64>(255, (distance + 1) * 255 / light.radius);
        }
        polygon.shade[k] = static_cast<std::int32_t>(std::clamp<i64>(shade, 0, 255));
    }
}

// The 128 x 128 image a textured polygon shows, or null when its texture or
// image index is outside the tables or names an empty slot.
const std::uint8_t* PolygonImage(const RenderContext& rc, const QueuedPolygon& polygon) {
    i64 image = polygon.texture;
    if (!polygon.directImage) {
        if (polygon.texture < 0 || polygon.texture >= static_cast<i64>(rc.textures.size()))
            return nullptr;
        image = rc.textures[polygon.texture].current;
    }
    if (image < 0 || image >= static_cast<i64>(rc.images.size()) || !rc.images[image])
        return nullptr;
    return rc.images[image]->data();
}

// Fills the rasterizer's triangle from a queued polygon; false when there
// is nothing it could draw.
bool MakeTriangle(const RenderContext& rc, const QueuedPolygon& polygon, RasterTriangle& t) {
    std::copy(polygon.x, polygon.x + 3, t.x);
    std::copy(polygon.y, polygon.y + 3, t.y);
    std::copy(polygon.z, polygon.z + 3, t.z);
    std::copy(polygon.sx, polygon.sx + 3, t.sx);
    std::copy(polygon.sy, polygon.sy + 3, t.sy);
    t.kind = polygon.kind;
    t.flip = polygon.flip;
    t.shade = (polygon.shade[0] + polygon.shade[1] + polygon.shade[2]) / 3;
    t.transparency = polygon.transparency;
    if (polygon.kind >= kFaceFlat) {
        if (polygon.texture < 0 || polygon.texture > 255) return false;
        t.colour = static_cast<std::uint8_t>(polygon.texture);
        return true;
    }
    t.image = PolygonImage(rc, polygon);
    return t.image != nullptr;
}

// The second eye: the camera-space vertices moved sideways by the eye shift
// and projected again, dividing by |z| + 1 so that no depth is zero.
void ShiftForSecondEye(const RenderContext& rc, RasterTriangle& t) {
    const Projection& p = rc.projection;
    for (int i = 0; i < 3; ++i) {
        t.x[i] = static_cast<std::int32_t>(
            std::clamp<i64>(i64{t.x[i]} + rc.eyeShift, INT32_MIN, INT32_MAX));
        const i64 depth = std::llabs(i64{t.z[i]}) + 1;
        t.sx[i] = pipeline::ProjectX(p, t.x[i], depth);
        t.sy[i] = pipeline::ProjectY(p, t.y[i], depth);
    }
}

constexpr int kPrefetchAhead = 8;

void prefetchPolygon(const RenderContext& rc, std::int32_t index) {
    const auto* bytes = reinterpret_cast<const char*>(&rc.queue[static_cast<std::size_t>(index)]);
    __builtin_prefetch(bytes);
    __builtin_prefetch(bytes + sizeof(QueuedPolygon) - 1);
}

} // namespace

void DrawQueue() {
    RenderContext& rc = renderContext;
    if (rc.queueCount <= 0) return;
    const int count = std::min<int>(rc.queueCount, static_cast<int>(rc.queue.size()));

    CameraLight lights[kLightCount];
    const int lightCount = std::min(rc.lastLight + 1, kLightCount);
    for (int l = 0; l < lightCount; ++l) {
        const Light& light = rc.lights[l];
        const pipeline::Point c = pipeline::ToCamera(rc.camera, light.x, light.y, light.z);
        lights[l] = CameraLight{c.x, c.y, c.z, light.radius};
    }
    for (int i = 0; i < count; ++i) LightPolygon(rc.queue[i], lights, lightCount);

    // Farthest first; equal keys in index order so that a frame always
    // comes out the same.
    for (int i = 0; i < count; ++i) rc.sortEntries[i] = SortEntry{i, rc.queue[i].sortKey};
    std::sort(rc.sortEntries.begin(), rc.sortEntries.begin() + count,
              [](const SortEntry& a, const SortEntry& b) {
                  return a.key > b.key || (a.key == b.key && a.index < b.index);
              });

    const RasterTarget mainTarget = MakeRasterTarget(rc.mainBuffer, rc, windowMode);
    RasterTriangle triangle;
    for (int i = 0; i < count; ++i) {
        // The queue is read in depth order, out of its own: a long queue
        // waits on memory unless the polygons a few steps ahead are asked for.
        if (i + kPrefetchAhead < count)
            prefetchPolygon(rc, rc.sortEntries[i + kPrefetchAhead].index);
        if (MakeTriangle(rc, rc.queue[rc.sortEntries[i].index], triangle))
            DrawTriangle(mainTarget, triangle);
    }

    if (rc.stereoscopic) {
        const RasterTarget stereoTarget = MakeRasterTarget(rc.stereoBuffer, rc, windowMode);
        for (int i = 0; i < count; ++i) {
            if (!MakeTriangle(rc, rc.queue[rc.sortEntries[i].index], triangle)) continue;
            ShiftForSecondEye(rc, triangle);
            DrawTriangle(stereoTarget, triangle);
        }
    }

    rc.lastLight = -1;
}
