// Builds .3do bytes for the mesh tests.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/mesh.h"

inline void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void Put32(std::vector<std::uint8_t>& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int s = 0; s < 32; s += 8) out.push_back(static_cast<std::uint8_t>(u >> s));
}

// A file with `vertices` vertices (x = i, y = -i, z = 1000 + i) and the given faces.
inline std::vector<std::uint8_t> MeshBytes(int vertices, const std::vector<Face>& faces) {
    std::vector<std::uint8_t> out;
    Put16(out, vertices - 1);
    Put16(out, faces.size() - 1);
    for (int i = 0; i < vertices; ++i) Put32(out, i);
    for (int i = 0; i < vertices; ++i) Put32(out, -i);
    for (int i = 0; i < vertices; ++i) Put32(out, 1000 + i);
    for (const Face& f : faces)
        for (unsigned v : {f.v1, f.v2, f.v3, f.texture, f.flip, f.doubleSided, f.kind})
            Put16(out, v);
    return out;
}
