#include "engine/mesh.h"

#include <limits>

#include <gtest/gtest.h>

namespace {

// A mesh of `count` vertices all at (v, 2v, -v), with one face of texture `texture`.
Mesh* MakeMesh(int count, std::int32_t v, std::uint16_t texture = 1) {
    Mesh* mesh = nullptr;
    if (!AllocateMesh(mesh, count - 1, 0)) return nullptr;
    for (int i = 0; i < count; ++i) mesh->x[i] = v, mesh->y[i] = 2 * v, mesh->z[i] = -v;
    mesh->faces[0] = Face{0, 0, 0, texture, 0, 0, 3};
    return mesh;
}

} // namespace

TEST(Mesh, AllocateSetsCountsAndRefusesImpossibleSizes) {
    Mesh* mesh = nullptr;
    ASSERT_TRUE(AllocateMesh(mesh, 9, 4));
    EXPECT_EQ(mesh->vertexCount(), 10);
    EXPECT_EQ(mesh->faceCount(), 5);
    EXPECT_EQ(mesh->z.size(), 10u);
    EXPECT_FALSE(AllocateMesh(mesh, -1, 0));
    EXPECT_EQ(mesh, nullptr);
    EXPECT_FALSE(AllocateMesh(mesh, 0, 70000));
    FreeMesh(mesh); // a missing mesh is ignored
}

TEST(Mesh, CopyHasOneSpareSlotAndTheSourceCounts) {
    Mesh* source = MakeMesh(3, 5, 42);
    source->x[2] = 77;
    Mesh* copy = MakeMesh(8, 0);
    CopyMesh(source, copy);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->lastVertex, 2);
    EXPECT_EQ(copy->lastFace, 0);
    EXPECT_EQ(copy->x.size(), 4u);
    EXPECT_EQ(copy->faces.size(), 2u);
    EXPECT_EQ(copy->x[2], 77);
    EXPECT_EQ(copy->faces[0].texture, 42);

    CopyMesh(copy, copy); // onto itself: unchanged
    EXPECT_EQ(copy->x[2], 77);
    CopyMesh(nullptr, copy);
    EXPECT_EQ(copy, nullptr);
    FreeMesh(source);
}

TEST(Mesh, MorphRoundsHalfwayToEvenAndExtrapolates) {
    Mesh* from = MakeMesh(2, 0, 1);
    Mesh* to = MakeMesh(2, 3, 2);
    to->x[1] = -3;
    Mesh* out = nullptr;

    MorphMesh(from, to, out, 0.0f);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->x[0], 0);
    EXPECT_EQ(out->faces[0].texture, 1); // faces come from the first key

    MorphMesh(from, to, out, 1.0f);
    EXPECT_EQ(out->x[0], 3);
    EXPECT_EQ(out->y[0], 6);
    EXPECT_EQ(out->z[0], -3);
    EXPECT_EQ(out->x[1], -3);

    MorphMesh(from, to, out, 0.5f);
    EXPECT_EQ(out->x[0], 2);  // 1.5 -> 2
    EXPECT_EQ(out->y[0], 3);  // 3.0
    EXPECT_EQ(out->z[0], -2); // -1.5 -> -2
    EXPECT_EQ(out->x[1], -2);

    MorphMesh(from, to, out, 2.0f);
    EXPECT_EQ(out->x[0], 6);

    // An existing result of the right size keeps its own faces.
    out->faces[0].texture = 99;
    MorphMesh(from, to, out, 0.0f);
    EXPECT_EQ(out->faces[0].texture, 99);

    // A missing key mesh changes nothing.
    MorphMesh(nullptr, to, out, 1.0f);
    MorphMesh(from, nullptr, out, 1.0f);
    EXPECT_EQ(out->x[0], 0);

    FreeMesh(from);
    FreeMesh(to);
    FreeMesh(out);
}

TEST(Mesh, MorphRebuildsAResultOfAnotherSizeAndToleratesShortKeys) {
    Mesh* from = MakeMesh(4, 10);
    Mesh* to = MakeMesh(2, 20); // fewer vertices than `from`
    Mesh* out = MakeMesh(7, 0, 55);
    MorphMesh(from, to, out, 0.5f);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->vertexCount(), 4);
    EXPECT_EQ(out->faces[0].texture, 1);
    EXPECT_EQ(out->x[1], 15);
    EXPECT_EQ(out->x[3], 10); // no counterpart: stays at `from`

    // The result may be one of the keys.
    MorphMesh(to, from, to, 1.0f);
    EXPECT_EQ(to->x[0], 10);
    MorphMesh(from, to, to, 0.0f);
    ASSERT_EQ(to->vertexCount(), 4);
    EXPECT_EQ(to->x[3], 10);

    // Extreme coordinates do not overflow.
    from->x[0] = -2147483647 - 1;
    to->x[0] = 2147483647;
    MorphMesh(from, to, out, 2.0f);
    EXPECT_EQ(out->x[0], 2147483647);
    MorphMesh(from, to, out, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(out->x[0], from->x[0]);
    FreeMesh(from);
    FreeMesh(to);
    FreeMesh(out);
}
