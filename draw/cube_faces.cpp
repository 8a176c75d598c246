// The six meshes a cube type is drawn with, one per side, re-dressed with the
// type's colours or textures before each cube is submitted.
#include "draw/cube_faces.h"

#include <array>

#include "engine/mesh.h"
#include "world/world.h"

std::array<MeshSlot, 6> cubeFaceMeshes;

namespace {

struct Corner {
    std::int32_t x, y, z;
};

// Sides A..F: low z, high x, high z, low x, top, bottom.
constexpr std::array<std::array<Corner, 4>, 6> kSideCorners = {{
    {{{256, 256, -256}, {256, -256, -256}, {-256, -256, -256}, {-256, 256, -256}}},
    {{{256, 256, -256}, {256, 256, 256}, {256, -256, 256}, {256, -256, -256}}},
    {{{256, 256, 256}, {-256, 256, 256}, {-256, -256, 256}, {256, -256, 256}}},
    {{{-256, -256, 256}, {-256, 256, 256}, {-256, 256, -256}, {-256, -256, -256}}},
    {{{256, 256, 256}, {256, 256, -256}, {-256, 256, -256}, {-256, 256, 256}}},
    {{{-256, -256, 256}, {-256, -256, -256}, {256, -256, -256}, {256, -256, 256}}},
}};

constexpr std::uint16_t kDefaultMaterial = 66;

} // namespace

void BuildCubeFaceMeshes() {
    for (std::size_t side = 0; side < kSideCorners.size(); ++side) {
        MeshSlot& mesh = cubeFaceMeshes[side];
        mesh = MakeMesh(3, 1);
        if (!mesh) continue;
        for (int v = 0; v < 4; ++v) {
            mesh->x[v] = kSideCorners[side][v].x;
            mesh->y[v] = kSideCorners[side][v].y;
            mesh->z[v] = kSideCorners[side][v].z;
        }
        // A textured quadrilateral: the second triangle turns the texture.
        mesh->faces[0] = Face{3, 0, 1, kDefaultMaterial, 0, 0, kFaceFlat};
        mesh->faces[1] = Face{1, 2, 3, kDefaultMaterial, 1, 0, kFaceFlat};
    }
}

void ApplyCubeFaces(const ObjectType& type, bool textured) {
    for (std::size_t side = 0; side < cubeFaceMeshes.size(); ++side) {
        MeshSlot& mesh = cubeFaceMeshes[side];
        if (!mesh) continue;
        for (int f = 0; f < mesh->FaceCount(); ++f) {
            Face& face = mesh->faces[f];
            face.texture = textured ? type.faceTexture[side] : type.faceColor[side];
            face.kind = textured ? kFaceTextured : kFaceFlat;
        }
    }
}
