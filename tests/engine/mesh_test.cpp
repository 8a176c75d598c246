#include "engine/mesh.h"

#include <limits>

#include <gtest/gtest.h>

namespace {

// A mesh of `count` vertices all at (v, 2v, -v), with one face of texture `texture`.
MeshSlot FilledMesh(int count, std::int32_t v, std::uint16_t texture = 1) {
    MeshSlot mesh = MakeMesh(count - 1, 0);
    if (!mesh) return mesh;
    for (int i = 0; i < count; ++i) mesh->x[i] = v, mesh->y[i] = 2 * v, mesh->z[i] = -v;
    mesh->faces[0] = Face{0, 0, 0, texture, 0, 0, 3};
    return mesh;
}

} // namespace

TEST(Mesh, MakeAndCopy) {
    EXPECT_FALSE(MakeMesh(-1, 0));
    EXPECT_FALSE(MakeMesh(0, 65537));

    MeshSlot source = FilledMesh(3, 5, 42);
    source->x[2] = 77;
    MeshSlot copy = FilledMesh(8, 0);
    CopyMesh(MeshOrNull(source), copy);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->lastVertex, 2);
    EXPECT_EQ(copy->x.size(), 4u); // one spare slot
    EXPECT_EQ(copy->x[2], 77);
    EXPECT_EQ(copy->faces[0].texture, 42);
    CopyMesh(MeshOrNull(copy), copy); // onto itself: unchanged
    EXPECT_EQ(copy->x[2], 77);
    CopyMesh(nullptr, copy);
    EXPECT_FALSE(copy);
}

TEST(Mesh, MorphRoundsHalfwayToEvenAndExtrapolates) {
    MeshSlot from = FilledMesh(2, 0, 1);
    MeshSlot to = FilledMesh(2, 3, 2);
    MeshSlot out;
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, 0.0f);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->x[0], 0);
    EXPECT_EQ(out->faces[0].texture, 1); // faces come from the first key
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, 1.0f);
    EXPECT_EQ((std::array<int, 3>{out->x[0], out->y[0], out->z[0]}),
              (std::array<int, 3>{3, 6, -3}));
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, 0.5f);
    EXPECT_EQ((std::array<int, 3>{out->x[0], out->y[0], out->z[0]}),
              (std::array<int, 3>{2, 3, -2}));
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, 2.0f);
    EXPECT_EQ(out->x[0], 6);

    // A result of the right size keeps its faces; a missing key changes nothing.
    out->faces[0].texture = 99;
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, 0.0f);
    MorphMesh(nullptr, MeshOrNull(to), out, 1.0f);
    EXPECT_EQ(out->faces[0].texture, 99);
    EXPECT_EQ(out->x[0], 0);
}

TEST(Mesh, MorphRebuildsAResultOfAnotherSizeAndToleratesBadKeys) {
    MeshSlot from = FilledMesh(4, 10);
    MeshSlot to = FilledMesh(2, 20); // fewer vertices than `from`
    MeshSlot out = FilledMesh(7, 0, 55);
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, 0.5f);
    ASSERT_EQ(out->VertexCount(), 4);
    EXPECT_EQ(out->faces[0].texture, 1);
    EXPECT_EQ(out->x[1], 15);
    EXPECT_EQ(out->x[3], 10); // no counterpart: stays at `from`

    MorphMesh(MeshOrNull(from), MeshOrNull(to), to, 0.0f); // the result may be one of the keys
    ASSERT_EQ(to->VertexCount(), 4);
    EXPECT_EQ(to->x[3], 10);

    from->x[0] = -2147483647 - 1;
    to->x[0] = 2147483647;
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, 2.0f);
    EXPECT_EQ(out->x[0], 2147483647);
    MorphMesh(MeshOrNull(from), MeshOrNull(to), out, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(out->x[0], from->x[0]);
}
