#include "draw/cube_faces.h"
#include "engine/mesh.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <array>

TEST(CubeFaces, EachSideLiesOnItsFaceAndTakesTheTypeValues) {
    BuildCubeFaceMeshes();
    // A..F: low z, high x, high z, low x, top, bottom, as (axis, value).
    const int axis[6] = {2, 0, 2, 0, 1, 1};
    const int value[6] = {-256, 256, 256, -256, 256, -256};
    ObjectType cube;
    cube.faceColor = {10, 11, 12, 13, 14, 15};
    cube.faceTexture = {20, 21, 22, 23, 24, 25};
    ApplyCubeFaces(cube, true);
    for (int side = 0; side < 6; ++side) {
        const MeshSlot& mesh = cubeFaceMeshes[side];
        ASSERT_TRUE(mesh);
        ASSERT_EQ(mesh->VertexCount(), 4);
        for (int v = 0; v < 4; ++v) {
            const int coordinate[3] = {mesh->x[v], mesh->y[v], mesh->z[v]};
            EXPECT_EQ(coordinate[axis[side]], value[side]) << side;
        }
        const Face& a = mesh->faces[0];
        const Face& b = mesh->faces[1];
        using F8 = std::array<int, 8>;
        EXPECT_EQ((F8{a.v1, a.v2, a.v3, a.flip, b.v1, b.v2, b.v3, b.flip}),
                  (F8{3, 0, 1, 0, 1, 2, 3, 1}));
        EXPECT_EQ((F8{a.texture, a.kind, b.texture, b.kind}), (F8{20 + side, 0, 20 + side, 0}));
    }
    ApplyCubeFaces(cube, false);
    EXPECT_EQ(cubeFaceMeshes[4]->faces[1].texture, 14);
    EXPECT_EQ(cubeFaceMeshes[4]->faces[1].kind, kFaceFlat);
}
