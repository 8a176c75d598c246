#include "engine/mesh.h"
#include "mesh_bytes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

bool Parse(const std::vector<std::uint8_t>& bytes, Mesh*& mesh, std::string* error = nullptr) {
    return ParseMesh(bytes.data(), bytes.size(), mesh, error);
}

} // namespace

TEST(MeshFile, SmallestFileHoldsOneVertexAndOneFace) {
    auto bytes = MeshBytes(1, {Face{0, 0, 0, 7, 1, 1, 3}});
    ASSERT_EQ(bytes.size(), 30u);
    Mesh* mesh = nullptr;
    ASSERT_TRUE(Parse(bytes, mesh));
    EXPECT_EQ(mesh->vertexCount(), 1);
    EXPECT_EQ(mesh->faceCount(), 1);
    EXPECT_EQ(mesh->z[0], 1000);
    EXPECT_EQ(mesh->faces[0].texture, 7);
    EXPECT_EQ(mesh->faces[0].doubleSided, 1);

    // Bytes after the last face are ignored.
    bytes.push_back(0xAB);
    ASSERT_TRUE(Parse(bytes, mesh));
    EXPECT_EQ(mesh->faceCount(), 1);
    FreeMesh(mesh);
}

TEST(MeshFile, EveryTruncationIsRefusedAndLeavesNoMesh) {
    const auto bytes = MeshBytes(3, {Face{0, 1, 2, 0, 0, 0, 0}, Face{2, 1, 0, 0, 1, 0, 0}});
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        Mesh* mesh = nullptr;
        AllocateMesh(mesh, 2, 2); // a mesh held before is freed, not kept
        std::string error;
        EXPECT_FALSE(ParseMesh(bytes.data(), size, mesh, &error)) << size;
        EXPECT_EQ(mesh, nullptr);
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    Mesh* mesh = nullptr;
    EXPECT_FALSE(ParseMesh(bytes.data(), bytes.size() - 1, mesh, &error));
    EXPECT_EQ(error, "it holds 67 bytes but its counts need 68");
    EXPECT_FALSE(ParseMesh(nullptr, 0, mesh, &error));
}

TEST(MeshFile, FacesMustNameExistingVertices) {
    Mesh* mesh = nullptr;
    std::string error;
    EXPECT_FALSE(Parse(MeshBytes(3, {Face{0, 1, 3, 0, 0, 0, 0}}), mesh, &error));
    EXPECT_EQ(error, "face 0 uses a vertex beyond the 3 vertices of the mesh");
    EXPECT_FALSE(Parse(MeshBytes(3, {Face{0, 1, 2, 0, 0, 0, 3}, Face{9, 0, 0, 0, 0, 0, 5}}), mesh));
    EXPECT_EQ(mesh, nullptr);

    // A sprite's second and third fields are its size, not vertices.
    ASSERT_TRUE(Parse(MeshBytes(1, {Face{0, 300, 600, 5, 0, 0, kFaceSprite}}), mesh));
    EXPECT_EQ(mesh->faces[0].v3, 600);
    EXPECT_FALSE(Parse(MeshBytes(1, {Face{1, 300, 600, 5, 0, 0, kFaceSprite}}), mesh));
    FreeMesh(mesh);
}

TEST(MeshFile, WrittenMeshReadsBackUnchanged) {
    Mesh* original = nullptr;
    ASSERT_TRUE(AllocateMesh(original, 3, 1));
    const std::int32_t coordinates[4] = {-2147483647 - 1, -1, 65536, 2147483647};
    for (int i = 0; i < 4; ++i) {
        original->x[i] = coordinates[i];
        original->y[i] = coordinates[3 - i];
        original->z[i] = i * 100 - 150;
    }
    original->faces[0] = Face{3, 0, 1, 0xFFFF, 0, 1, 1};
    original->faces[1] = Face{1, 2, 3, 12, 1, 0, 4};

    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(SaveMesh("Thing.3do", *original));
    EXPECT_EQ(ReadBytes("Thing.3do").size(), 4u + 12 * 4 + 14 * 2);

    Mesh* loaded = nullptr;
    std::string error;
    ASSERT_TRUE(LoadMesh("THING.3DO", loaded, &error)) << error;
    EXPECT_EQ(loaded->lastVertex, 3);
    EXPECT_EQ(loaded->lastFace, 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loaded->x[i], original->x[i]);
        EXPECT_EQ(loaded->y[i], original->y[i]);
        EXPECT_EQ(loaded->z[i], original->z[i]);
    }
    EXPECT_EQ(EncodeMesh(*loaded), EncodeMesh(*original));
    FreeMesh(original);
    FreeMesh(loaded);
}

TEST(MeshFile, MissingOrDamagedFileGivesTheEngineMessage) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    Mesh* mesh = nullptr;
    ASSERT_TRUE(AllocateMesh(mesh, 0, 0));
    std::string error;
    EXPECT_FALSE(LoadMesh("3DO\\GAME\\nothere.3do", mesh, &error));
    EXPECT_EQ(error, "VX3: The file 3DO\\GAME\\nothere.3do is missing");
    EXPECT_EQ(mesh, nullptr);

    dir.write("short.3do", std::vector<std::uint8_t>{0, 0, 0});
    EXPECT_FALSE(LoadMesh("short.3do", mesh, &error));
    EXPECT_EQ(error,
              "VX3: The file short.3do is invalid: it is shorter than its two counts (3 bytes)");
}

TEST(MeshFile, LargeMeshGrowsTheScratchMeshFirst) {
    InitScratchMesh();
    ASSERT_NE(scratchMesh, nullptr);
    EXPECT_GE(scratchMesh->vertexCount(), 5001);
    EXPECT_GE(scratchMesh->faceCount(), 15001);

    std::vector<Face> faces(15002, Face{0, 1, 2, 0, 0, 0, 3});
    Mesh* mesh = nullptr;
    ASSERT_TRUE(Parse(MeshBytes(6000, faces), mesh));
    EXPECT_GE(scratchMesh->vertexCount(), 6000);
    EXPECT_GE(scratchMesh->faceCount(), 15002);
    EXPECT_GE(scratchMesh->x.size(), 6000u);
    EXPECT_GE(scratchMesh->faces.size(), 15002u);
    EXPECT_EQ(mesh->x[5999], 5999);

    // The largest mesh the format can hold still fits.
    ASSERT_TRUE(AllocateMesh(mesh, 65535, 65535));
    EXPECT_GE(scratchMesh->x.size(), 65536u);
    EXPECT_EQ(scratchMesh->lastVertex, 65535);
    FreeMesh(mesh);
}
