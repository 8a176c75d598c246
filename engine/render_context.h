// The engine's one render context: frame buffers, colour tables, projection,
// camera, polygon queue and lights.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/frame_buffer.h"

constexpr int kImageTableSize = 32768;
constexpr int kTextureTableSize = 32768;
constexpr int kTextureSize = 128; // textures are 128 x 128
constexpr int kBlendPlanes = 17;

struct TextureEntry {
    std::int32_t first = 0, last = 0, current = 0;
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

    // Hearing range of positional sound, in world units.
    std::int32_t hearingRange = 0;
};

extern RenderContext renderContext;
