// The .3do file: two 16-bit last indices, the X, Y and Z columns of int32
// coordinates, then the faces as seven 16-bit fields each; little-endian.
#include <algorithm>
#include <string>

#include "engine/mesh.h"
#include "platform/byte_io.h"
#include "platform/files.h"

namespace {

constexpr std::size_t kHeaderBytes = 4;
constexpr std::size_t kCoordinateBytes = 4;
constexpr std::size_t kFaceBytes = 14;

// The file length two counts call for.
std::size_t meshBytes(std::uint16_t lastVertex, std::uint16_t lastFace) {
    const std::size_t vertices = static_cast<std::size_t>(lastVertex) + 1;
    const std::size_t faces = static_cast<std::size_t>(lastFace) + 1;
    return kHeaderBytes + 3 * vertices * kCoordinateBytes + faces * kFaceBytes;
}

Face readFace(ByteReader& in) {
    Face face;
    for (std::uint16_t* field :
         {&face.v1, &face.v2, &face.v3, &face.texture, &face.flip, &face.doubleSided, &face.kind})
        *field = in.U16();
    return face;
}

// Vertex indices a face refers to: a sprite names only its centre, its other
// two fields being sizes.
bool faceIndicesValid(const Face& face, int vertexCount) {
    if (face.v1 >= vertexCount) return false;
    if (face.kind == kFaceSprite) return true;
    return face.v2 < vertexCount && face.v3 < vertexCount;
}

std::string memoryText(std::size_t vertices, std::size_t faces) {
    return "there is not enough memory for its " + std::to_string(vertices) + " vertices and " +
           std::to_string(faces) + " faces";
}

} // namespace

Loaded<Mesh> ParseMeshBytes(std::span<const std::uint8_t> data) {
    if (data.size() < kHeaderBytes)
        return LoadFailure{"it is shorter than its two counts (" + std::to_string(data.size()) +
                           " bytes)"};
    ByteReader in(data);
    const std::uint16_t lastVertex = in.U16();
    const std::uint16_t lastFace = in.U16();
    const std::size_t needed = meshBytes(lastVertex, lastFace);
    if (data.size() < needed)
        return LoadFailure{"it holds " + std::to_string(data.size()) +
                           " bytes but its counts need " + std::to_string(needed)};
    const std::size_t vertices = std::size_t{lastVertex} + 1, faces = std::size_t{lastFace} + 1;
    // Made through MakeMesh, so that the scratch mesh grows with it.
    MeshSlot made = MakeMesh(lastVertex, lastFace);
    if (!made) return LoadFailure{memoryText(vertices, faces)};
    Mesh& mesh = *made;
    for (std::vector<std::int32_t>* column : {&mesh.x, &mesh.y, &mesh.z})
        for (std::int32_t& value : *column) value = in.I32();
    // A face naming a vertex the mesh does not have would make the renderer
    // read past the vertex arrays: such a mesh is refused.
    for (std::size_t f = 0; f < faces; ++f) {
        mesh.faces[f] = readFace(in);
        if (!faceIndicesValid(mesh.faces[f], static_cast<int>(vertices)))
            return LoadFailure{"face " + std::to_string(f) + " uses a vertex beyond the " +
                               std::to_string(vertices) + " vertices of the mesh"};
    }
    return LoadedValue(std::move(mesh));
}

Loaded<Mesh> ReadMeshFile(const std::string& fileName) {
    const auto file = FileReader::Open(fileName);
    const auto missing = LoadFailure{"VX3: The file " + fileName + " is missing"};
    if (!file) return missing;
    // The counts, then the bytes they call for and no more; a shorter file is
    // read whole, for the parser to say how short it is.
    const auto counts = file->Read(0, std::min<std::uint64_t>(file->Size(), kHeaderBytes));
    if (!counts) return missing;
    std::uint64_t length = counts->size();
    if (length == kHeaderBytes) {
        ByteReader in(*counts);
        const std::uint16_t lastVertex = in.U16();
        length = std::min<std::uint64_t>(file->Size(), meshBytes(lastVertex, in.U16()));
    }
    const auto bytes = file->Read(0, length);
    if (!bytes) return missing;
    Loaded<Mesh> mesh = ParseMeshBytes(*bytes);
    if (!mesh) mesh.error = "VX3: The file " + fileName + " is invalid: " + mesh.error;
    return mesh;
}

std::vector<std::uint8_t> EncodeMesh(const Mesh& mesh) {
    const int vertices = mesh.VertexCount();
    const int faces = mesh.FaceCount();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(meshBytes(mesh.lastVertex, mesh.lastFace));
    ByteWriter out(bytes);
    out.U16(mesh.lastVertex);
    out.U16(mesh.lastFace);
    // Entries missing from a short array are written as zero.
    for (const std::vector<std::int32_t>* column : {&mesh.x, &mesh.y, &mesh.z})
        for (int i = 0; i < vertices; ++i)
            out.I32(i < static_cast<int>(column->size()) ? (*column)[i] : 0);
    for (int f = 0; f < faces; ++f) {
        const Face face = f < static_cast<int>(mesh.faces.size()) ? mesh.faces[f] : Face{};
        for (std::uint16_t field :
             {face.v1, face.v2, face.v3, face.texture, face.flip, face.doubleSided, face.kind})
            out.U16(field);
    }
    return bytes;
}

bool SaveMesh(const std::string& fileName, const Mesh& mesh) {
    return WriteWholeFile(fileName, EncodeMesh(mesh));
}
