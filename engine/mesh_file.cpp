// The .3do file: two 16-bit last indices, the X, Y and Z columns of int32
// coordinates, then the faces as seven 16-bit fields each; little-endian.
#include <string>

#include "engine/mesh.h"
#include "platform/files.h"

namespace {

constexpr std::size_t kHeaderBytes = 4;
constexpr std::size_t kCoordinateBytes = 4;
constexpr std::size_t kFaceBytes = 14;

std::uint16_t read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t read32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

Face readFace(const std::uint8_t* p) {
    return Face{read16(p),     read16(p + 2),  read16(p + 4), read16(p + 6),
                read16(p + 8), read16(p + 10), read16(p + 12)};
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(u >> shift));
}

// Vertex indices a face refers to: a sprite names only its centre, its other
// two fields being sizes.
bool faceIndicesValid(const Face& face, int vertexCount) {
    if (face.v1 >= vertexCount) return false;
    if (face.kind == kFaceSprite) return true;
    return face.v2 < vertexCount && face.v3 < vertexCount;
}

} // namespace

Loaded<Mesh> ParseMesh(const std::uint8_t* data, std::size_t size) {
    if (!data || size < kHeaderBytes)
        return LoadFailure{"it is shorter than its two counts (" + std::to_string(size) +
                           " bytes)"};
    const int lastVertex = read16(data);
    const int lastFace = read16(data + 2);
    const std::size_t vertices = static_cast<std::size_t>(lastVertex) + 1;
    const std::size_t faces = static_cast<std::size_t>(lastFace) + 1;
    const std::size_t columnBytes = vertices * kCoordinateBytes;
    const std::size_t facesOffset = kHeaderBytes + 3 * columnBytes;
    const std::size_t needed = facesOffset + faces * kFaceBytes;
    if (size < needed)
        return LoadFailure{"it holds " + std::to_string(size) + " bytes but its counts need " +
                           std::to_string(needed)};
    // A face naming a vertex the mesh does not have would make the renderer
    // read past the vertex arrays: such a mesh is refused.
    for (std::size_t f = 0; f < faces; ++f) {
        const Face face = readFace(data + facesOffset + f * kFaceBytes);
        if (!faceIndicesValid(face, static_cast<int>(vertices)))
            return LoadFailure{"face " + std::to_string(f) + " uses a vertex beyond the " +
                               std::to_string(vertices) + " vertices of the mesh"};
    }

    MeshSlot created = MakeMesh(lastVertex, lastFace);
    if (!created)
        return LoadFailure{"there is not enough memory for its " + std::to_string(vertices) +
                           " vertices and " + std::to_string(faces) + " faces"};
    const std::uint8_t* xs = data + kHeaderBytes;
    const std::uint8_t* ys = xs + columnBytes;
    const std::uint8_t* zs = ys + columnBytes;
    for (std::size_t i = 0; i < vertices; ++i) {
        created->x[i] = read32(xs + i * kCoordinateBytes);
        created->y[i] = read32(ys + i * kCoordinateBytes);
        created->z[i] = read32(zs + i * kCoordinateBytes);
    }
    for (std::size_t f = 0; f < faces; ++f)
        created->faces[f] = readFace(data + facesOffset + f * kFaceBytes);
    return LoadedValue(std::move(*created));
}

Loaded<Mesh> LoadMesh(const std::string& fileName) {
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes) return LoadFailure{"VX3: The file " + fileName + " is missing"};
    Loaded<Mesh> mesh = ParseMesh(bytes->data(), bytes->size());
    if (!mesh) return LoadFailure{"VX3: The file " + fileName + " is invalid: " + mesh.error};
    return mesh;
}

std::vector<std::uint8_t> EncodeMesh(const Mesh& mesh) {
    const int vertices = mesh.vertexCount();
    const int faces = mesh.faceCount();
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + vertices * 3 * kCoordinateBytes + faces * kFaceBytes);
    put16(out, mesh.lastVertex);
    put16(out, mesh.lastFace);
    // Entries missing from a short array are written as zero.
    for (const std::vector<std::int32_t>* column : {&mesh.x, &mesh.y, &mesh.z})
        for (int i = 0; i < vertices; ++i)
            put32(out, i < static_cast<int>(column->size()) ? (*column)[i] : 0);
    for (int f = 0; f < faces; ++f) {
        const Face face = f < static_cast<int>(mesh.faces.size()) ? mesh.faces[f] : Face{};
        for (std::uint16_t field :
             {face.v1, face.v2, face.v3, face.texture, face.flip, face.doubleSided, face.kind})
            put16(out, field);
    }
    return out;
}

bool SaveMesh(const std::string& fileName, const Mesh& mesh) {
    return WriteWholeFile(fileName, EncodeMesh(mesh));
}
