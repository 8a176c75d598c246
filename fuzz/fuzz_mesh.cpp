// Feeds arbitrary bytes to the .3do reader. A mesh it accepts must encode back
// to exactly the bytes it was read from (trailing bytes aside) and must only
// name vertices it has.
#include <cstdlib>
#include <cstring>

#include "engine/mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Loaded<Mesh> mesh = ParseMeshBytes(std::span(data, size));
    if (!mesh) {
        if (mesh.error.empty()) std::abort();
        return 0;
    }
    const std::vector<std::uint8_t> encoded = EncodeMesh(*mesh);
    if (encoded.size() > size || std::memcmp(encoded.data(), data, encoded.size()) != 0)
        std::abort();
    for (int f = 0; f < mesh->FaceCount(); ++f) {
        const Face& face = mesh->faces[f];
        if (face.v1 >= mesh->VertexCount()) std::abort();
    }
    MeshSlot copy;
    MorphMesh(&*mesh, &*mesh, copy, 0.5f);
    return 0;
}
