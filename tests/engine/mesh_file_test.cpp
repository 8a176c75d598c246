#include "engine/mesh.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

// A .3do file of `vertices` vertices at (i, -i, 1000 + i) and the given faces.
std::vector<std::uint8_t> MeshBytes(int vertices, const std::vector<Face>& faces) {
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(vertices - 1, 2);
    put(faces.size() - 1, 2);
    for (int base : {0, 1, 2})
        for (int i = 0; i < vertices; ++i) put(base == 0 ? i : base == 1 ? -i : 1000 + i, 4);
    for (const Face& f : faces)
        for (unsigned v : {f.v1, f.v2, f.v3, f.texture, f.flip, f.doubleSided, f.kind}) put(v, 2);
    return out;
}

Loaded<Mesh> Parse(const std::vector<std::uint8_t>& bytes) {
    return ParseMeshBytes(bytes);
}

} // namespace

TEST(MeshFile, SmallestFileAndEveryTruncation) {
    auto single = MeshBytes(1, {Face{0, 0, 0, 7, 1, 1, 3}});
    ASSERT_EQ(single.size(), 30u);
    single.push_back(0xAB); // trailing bytes are ignored
    Loaded<Mesh> mesh = Parse(single);
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->VertexCount() + mesh->FaceCount(), 2);
    EXPECT_EQ(mesh->z[0], 1000);
    EXPECT_EQ(mesh->faces[0].doubleSided, 1);

    const auto bytes = MeshBytes(3, {Face{0, 1, 2, 0, 0, 0, 0}, Face{2, 1, 0, 0, 1, 0, 0}});
    std::string error;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const Loaded<Mesh> cut = ParseMeshBytes(std::span(bytes.data(), size));
        EXPECT_FALSE(cut) << size;
        EXPECT_FALSE(cut.error.empty());
        error = cut.error;
    }
    EXPECT_EQ(error, "it holds 67 bytes but its counts need 68");
}

TEST(MeshFile, FacesMustNameExistingVertices) {
    const Loaded<Mesh> bad =
        Parse(MeshBytes(3, {Face{0, 1, 2, 0, 0, 0, 3}, Face{0, 1, 3, 0, 0, 0, 0}}));
    EXPECT_FALSE(bad);
    EXPECT_EQ(bad.error, "face 1 uses a vertex beyond the 3 vertices of the mesh");
    // A sprite's second and third fields are its size, not vertices.
    EXPECT_TRUE(Parse(MeshBytes(1, {Face{0, 300, 600, 5, 0, 0, kFaceSprite}})));
    EXPECT_FALSE(Parse(MeshBytes(1, {Face{1, 300, 600, 5, 0, 0, kFaceSprite}})));
}

TEST(MeshFile, WrittenMeshReadsBackUnchanged) {
    MeshSlot original = MakeMesh(3, 1);
    ASSERT_TRUE(original);
    original->x = {-2147483647 - 1, -1, 65536, 2147483647};
    original->y = {5, 6, 7, 8};
    original->z = {-150, -50, 50, 150};
    original->faces = {Face{3, 0, 1, 0xFFFF, 0, 1, 1}, Face{1, 2, 3, 12, 1, 0, 4}};

    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(SaveMesh("Thing.3do", *original));
    EXPECT_EQ(ReadBytes("Thing.3do").size(), 4u + 12 * 4 + 14 * 2);
    const Loaded<Mesh> loaded = ReadMeshFile("THING.3DO");
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_EQ(loaded->x, original->x);
    EXPECT_EQ(loaded->z, original->z);
    EXPECT_EQ(EncodeMesh(*loaded), EncodeMesh(*original));
}

TEST(MeshFile, MissingOrDamagedFileGivesTheEngineMessage) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    const Loaded<Mesh> missing = ReadMeshFile("3DO\\GAME\\nothere.3do");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.error, "VX3: The file 3DO\\GAME\\nothere.3do is missing");

    dir.write("short.3do", std::vector<std::uint8_t>{0, 0, 0});
    const Loaded<Mesh> damaged = ReadMeshFile("short.3do");
    EXPECT_FALSE(damaged);
    EXPECT_EQ(damaged.error,
              "VX3: The file short.3do is invalid: it is shorter than its two counts (3 bytes)");
}

TEST(MeshFile, FileReadsOnlyWhatItsCountsNeed) {
    TempDir dir;
    const auto bytes = MeshBytes(3, {Face{0, 1, 2, 4, 0, 1, 0}, Face{2, 1, 0, 5, 1, 0, 0}});
    const std::string file = dir.write("tail.3do", bytes);
    ExtendSparse(file, 3ull << 30);
    const std::uint64_t before = BytesReadSoFar();
    const Loaded<Mesh> mesh = ReadMeshFile(file);
    ASSERT_TRUE(mesh) << mesh.error;
    EXPECT_LT(BytesReadSoFar() - before, 4096u);
    EXPECT_EQ(EncodeMesh(*mesh), bytes);
    EXPECT_EQ(mesh->x.size(), 3u); // exactly the counts, no spare slot

    // A short file is read whole and named by its own length.
    const std::string cut = dir.write("cut.3do", std::vector(bytes.begin(), bytes.end() - 1));
    EXPECT_EQ(ReadMeshFile(cut).error,
              "VX3: The file " + cut + " is invalid: it holds 67 bytes but its counts need 68");
    EXPECT_EQ(ParseMeshBytes(std::span(bytes).first(3)).error,
              "it is shorter than its two counts (3 bytes)");
    EXPECT_EQ(ReadMeshFile(dir.file("none.3do")).error,
              "VX3: The file " + dir.file("none.3do") + " is missing");
}

TEST(MeshFile, LargeMeshGrowsTheScratchMeshFirst) {
    const Loaded<Mesh> mesh = Parse(MeshBytes(6000, std::vector<Face>(15002, Face{0, 1, 2})));
    ASSERT_TRUE(mesh);
    EXPECT_GE(scratchMesh.x.size(), 6000u);
    EXPECT_GE(scratchMesh.faces.size(), 15002u);
    EXPECT_EQ(mesh->x[5999], 5999);

    // The largest mesh the format can hold still fits.
    ASSERT_TRUE(MakeMesh(65535, 65535));
    EXPECT_GE(scratchMesh.x.size(), 65536u);
    EXPECT_EQ(scratchMesh.lastVertex, 65535);
}
