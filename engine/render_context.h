// The engine's one render context: frame buffers, colour tables, projection,
// camera, polygon queue and lights.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/angles.h"
#include "media/frame_buffer.h"

constexpr int kImageTableSize = 32768;
constexpr int kTextureTableSize = 32768;
constexpr int kTextureSize = 128; // textures are 128 x 128
constexpr int kBlendPlanes = 17;

struct TextureEntry {
    std::int32_t first = 0, last = 0, current = 0;
};

constexpr int kLightCount = 256;

// Projection values of the view the pipeline draws into.
struct Projection {
    std::int16_t cx = 0, cy = 0;     // centre of the picture
    std::int32_t fx = 0, fy = 0;     // focal lengths in pixels
    std::int16_t maxX = 0, maxY = 0; // last column and row: 2 * cx - 1, 2 * cy - 1
    std::int32_t nearDistance = 0;   // nearest drawn depth
    std::int32_t segmentLength = 0;  // pixels between exact texture look-ups
    std::int32_t planeScale = 0;     // divisor of the rasterizer's plane normal
};

struct Camera {
    std::int32_t x = 0, y = 0, z = 0;
    Matrix3 matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
    float cosRoll = 1.0f, sinRoll = 0.0f;
};

// One triangle that survived submission, waiting to be lit, sorted and drawn.
struct QueuedPolygon {
    std::int32_t x[3], y[3], z[3]; // camera space, unclipped, in face order
    std::int32_t sx[3], sy[3];     // screen corners of the (clipped) triangle
    std::int32_t texture;          // texture entry, image (direct) or palette index
    std::int32_t flip;             // 1 turns the texture by half a turn
    std::int64_t sortKey;          // sum of squared camera coordinates
    std::int32_t kind;             // face kind; sprite triangles carry 1
    std::int32_t directImage;      // 1 when `texture` names an image directly
    std::int32_t shade[3];         // base shade, lit per vertex when drawn
    std::int32_t transparency;     // blend level 0..16, 0 opaque
};

struct SortEntry {
    std::int32_t index;
    std::int64_t key;
};

struct Light {
    std::int32_t x = 0, y = 0, z = 0;
    std::int32_t radius = 0;
};

using TextureImage = std::array<std::uint8_t, kTextureSize * kTextureSize>;
using ShadeTable = std::array<std::uint8_t, 256 * 256>;                // [shade][colour]
using BlendTable = std::array<std::uint8_t, kBlendPlanes * 256 * 256>; // [level][src][dst]

struct RenderContext {
    FrameBuffer mainBuffer;
    FrameBuffer stereoBuffer;
    std::uint8_t stereoscopic = 0;
    std::int32_t eyeShift = 0;

    // Colour tables.
    std::vector<std::unique_ptr<TextureImage>> images =
        std::vector<std::unique_ptr<TextureImage>>(kImageTableSize);
    std::vector<TextureEntry> textures = std::vector<TextureEntry>(kTextureTableSize);
    std::int32_t highestTexture = 0;
    PalettePlanes palette{};
    std::unique_ptr<ShadeTable> shadeTable = std::make_unique<ShadeTable>();
    std::unique_ptr<ShadeTable> savedShadeTable = std::make_unique<ShadeTable>();
    std::unique_ptr<BlendTable> blendTable = std::make_unique<BlendTable>();

    Projection projection;
    std::int32_t shift = kFixedShift;
    Camera camera;

    // Polygon queue: both arrays hold `queue.size()` entries (the capacity),
    // of which the first `queueCount` are in use.
    std::vector<QueuedPolygon> queue;
    std::vector<SortEntry> sortEntries;
    std::int32_t queueCount = 0;

    std::array<Light, kLightCount> lights{};
    std::int32_t lastLight = -1; // -1: no light
};

extern RenderContext renderContext;
