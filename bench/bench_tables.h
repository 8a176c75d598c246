// Colour tables and textures made in code for the drawing benchmarks, so they
// need no data folder: a varied palette, a shade ramp, a mixing table and
// `count` checkered textures in texture and image slots first..first+count-1.
#pragma once

#include <memory>

#include "engine/render_context.h"

inline void InstallBenchTables(int first, int count) {
    RenderContext& rc = renderContext;
    for (int i = 0; i < 256; ++i) {
        rc.palette[i] = static_cast<std::uint8_t>(i);
        rc.palette[256 + i] = static_cast<std::uint8_t>((i * 7) & 255);
        rc.palette[512 + i] = static_cast<std::uint8_t>(255 - i);
    }
    for (int s = 0; s < 256; ++s)
        for (int c = 0; c < 256; ++c)
            (*rc.shadeTable)[s * 256 + c] = static_cast<std::uint8_t>(c == 0 ? 0 : 1 + c * s / 257);
    for (std::size_t i = 0; i < rc.blendTable->size(); ++i)
        (*rc.blendTable)[i] = static_cast<std::uint8_t>(i * 31 >> 8);
    for (int t = 0; t < count; ++t) {
        auto image = std::make_unique<TextureImage>();
        for (int v = 0; v < 128; ++v)
            for (int u = 0; u < 128; ++u)
                (*image)[v * 128 + u] = static_cast<std::uint8_t>(1 + ((u ^ v) + t * 40) % 254);
        rc.images[first + t] = std::move(image);
        rc.textures[first + t] = TextureEntry{first + t, first + t, first + t};
    }
}
