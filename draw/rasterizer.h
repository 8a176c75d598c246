// The rasterizer half of the renderer: fills one triangle of the polygon
// queue into an 8-bit frame buffer, flat or perspective-textured, through the
// shade and blend tables. The scene half (pipeline) talks to it only here.
#pragma once

#include <cstdint>

#include "engine/render_context.h"

// Where and how triangles are drawn: one per buffer and drawing pass.
struct RasterTarget {
    std::uint8_t* pixels = nullptr;
    std::int32_t width = 0; // row length in bytes
    std::int32_t cx = 0, cy = 0, fx = 0, fy = 0;
    std::int32_t maxX = -1, maxY = -1; // last column and row that may be touched
    std::int32_t planeScale = 0;
    std::int32_t segmentLength = 0;
    bool bottomUp = false; // rows stored bottom-up (window mode)
    const ShadeTable* shades = nullptr;
    const BlendTable* blends = nullptr;
};

// The target for `buffer` with the context's projection and tables. The
// last column and row are limited to the buffer, so a projection made for a
// larger view can never lead to writes outside it. An unusable buffer gives
// a target that draws nothing.
RasterTarget MakeRasterTarget(FrameBuffer& buffer, const RenderContext& context, bool bottomUp);

struct RasterTriangle {
    std::int32_t x[3], y[3], z[3];       // camera-space vertices, in face order
    std::int32_t sx[3], sy[3];           // screen corners
    std::int32_t kind = 0;               // 0 textured, 1 texel 0 transparent, 3+ flat
    const std::uint8_t* image = nullptr; // 128 x 128 texels for textured kinds
    std::uint8_t colour = 0;             // palette index for flat kinds
    std::int32_t flip = 0;
    std::int32_t shade = 255;      // shade level 0..255 for the whole triangle
    std::int32_t transparency = 0; // blend level 0..16, 0 opaque
};

// Draws the triangle. Textured kinds without an image draw nothing.
void DrawTriangle(const RasterTarget& target, const RasterTriangle& triangle);
