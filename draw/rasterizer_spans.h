// The rasterizer's inner loops: one run of pixels of a span, already clipped
// to the buffer, so nothing here tests bounds.
#pragma once

#include <cstdint>
#include <cstring>

namespace raster {

// Flat colour `c` over `count` pixels; with a blend plane, through it.
inline void FlatRun(std::uint8_t* dst, int count, std::uint8_t c, const std::uint8_t* blendPlane) {
    if (!blendPlane) {
        std::memset(dst, c, static_cast<std::size_t>(count));
        return;
    }
    const std::uint8_t* row = blendPlane + c * 256;
    for (int i = 0; i < count; ++i) dst[i] = row[dst[i]];
}

// Texels stepped linearly from (u, v) by (du, dv), all with 8 fraction bits
// and staying inside 0..127 because both ends of the run do. `Keyed` leaves
// the pixel under texel 0; `Blended` mixes through the blend plane.
template <bool Keyed, bool Blended>
inline void TexturedRun(std::uint8_t* dst, int count, const std::uint8_t* image, std::int32_t u,
                        std::int32_t v, std::int32_t du, std::int32_t dv,
                        const std::uint8_t* shadeRow, const std::uint8_t* blendPlane) {
    for (int i = 0; i < count; ++i) {
        const std::uint8_t texel = image[((v >> 8) << 7) + (u >> 8)];
        u += du;
        v += dv;
        if constexpr (Keyed) {
            if (texel == 0) continue;
        }
        const std::uint8_t c = shadeRow[texel];
        if constexpr (Blended)
            dst[i] = blendPlane[c * 256 + dst[i]];
        else
            dst[i] = c;
    }
}

} // namespace raster
