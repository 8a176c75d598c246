#include "draw/pipeline.h"

#include <algorithm>
#include <cstdlib>

#include "draw/pipeline_math.h"
#include "media/display.h"

void SetProjection(int cx, int cy, int capacity, int planeScale, int nearDistance,
                   int segmentLength, int fy, int fx) {
    RenderContext& rc = renderContext;
    Projection& p = rc.projection;
    p.cx = static_cast<std::int16_t>(cx);
    p.cy = static_cast<std::int16_t>(cy);
    p.fx = fx;
    p.fy = fy;
    p.maxX = static_cast<std::int16_t>(2 * p.cx - 1);
    p.maxY = static_cast<std::int16_t>(2 * p.cy - 1);
    p.nearDistance = nearDistance;
    p.segmentLength = segmentLength;
    p.planeScale = planeScale;

    const std::size_t size = static_cast<std::size_t>(std::max(capacity, 0));
    rc.queue.assign(size, QueuedPolygon{});
    rc.sortEntries.assign(size, SortEntry{});
    rc.queueCount = 0;
}

void ReserveQueue(int capacity) {
    RenderContext& rc = renderContext;
    const std::size_t size = static_cast<std::size_t>(std::max(capacity, 0));
    if (rc.queue.size() < size) rc.queue.resize(size);
    if (rc.sortEntries.size() < size) rc.sortEntries.resize(size);
}

void SetupViewport(int width, int height) {
    RenderContext& rc = renderContext;
    MakeBitmapDescription(rc.mainBuffer, width, height);
    MakeBitmapDescription(rc.stereoBuffer, width, height);
    ApplyPalette(rc.mainBuffer, rc.palette);
    ApplyPalette(rc.stereoBuffer, rc.palette);
    rc.shift = kFixedShift;
    SetProjection(width / 2, height / 2, kQueueCapacity, 5, 10, width / 10, height * 128 / 240,
                  width * 128 / 320);
}

void ClearFrame(std::uint8_t colour) {
    RenderContext& rc = renderContext;
    std::fill(rc.mainBuffer.pixels.begin(), rc.mainBuffer.pixels.end(), colour);
    if (rc.stereoscopic)
        std::fill(rc.stereoBuffer.pixels.begin(), rc.stereoBuffer.pixels.end(), colour);
}

void SetCamera(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw, std::int32_t pitch,
               std::int32_t roll) {
    RenderContext& rc = renderContext;
    rc.camera.x = x;
    rc.camera.y = y;
    rc.camera.z = z;
    rc.camera.matrix = RotationMatrix(static_cast<float>(yaw), static_cast<float>(pitch),
                                      static_cast<float>(roll));
    rc.camera.cosRoll = AngleCos(static_cast<float>(roll));
    rc.camera.sinRoll = AngleSin(static_cast<float>(roll));
    rc.lastLight = -1;
    rc.queueCount = 0;
}

void AddLight(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t radius) {
    RenderContext& rc = renderContext;
    if (rc.lastLight + 1 >= kLightCount) return;
    rc.lights[++rc.lastLight] = Light{x, y, z, radius};
}

bool IsPointVisible(std::int32_t radius, std::int32_t x, std::int32_t y, std::int32_t z) {
    const RenderContext& rc = renderContext;
    const Camera& camera = rc.camera;
    const std::int64_t r = radius;
    if (std::llabs(std::int64_t{x} - camera.x) < r && std::llabs(std::int64_t{y} - camera.y) < r &&
        std::llabs(std::int64_t{z} - camera.z) < r)
        return true;

    const Projection& p = rc.projection;
    const pipeline::Point c = pipeline::ToCamera(camera, x, y, z);
    if (c.z < p.nearDistance || c.z <= 0) return false;
    const std::int32_t sx = pipeline::ProjectX(p, c.x, c.z);
    const std::int32_t sy = pipeline::ProjectY(p, c.y, c.z);
    return sx > -p.cx && sx < p.maxX + p.cx && sy > -p.cx && sy < p.maxY + p.cx;
}
