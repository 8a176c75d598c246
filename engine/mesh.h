// Triangle meshes: integer vertices and faces that carry their own texture,
// colour and drawing kind, read from .3do files or built in code.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/loaded.h"

// Face kinds (field 7 of a face).
enum FaceKind : std::uint16_t {
    kFaceTextured = 0,
    kFaceTexturedKeyed = 1, // texel 0 is transparent
    kFaceSprite = 2,
    kFaceFlat = 3, // 3 and above: flat colour
};

struct Face {
    std::uint16_t v1 = 0;      // first vertex (sprite: centre)
    std::uint16_t v2 = 0;      // second vertex (sprite: width in world units)
    std::uint16_t v3 = 0;      // third vertex (sprite: height in world units)
    std::uint16_t texture = 0; // texture index, or palette index for flat kinds
    std::uint16_t flip = 0;    // 1 turns the texture by half a turn
    std::uint16_t doubleSided = 0;
    std::uint16_t kind = 0;
};
static_assert(sizeof(Face) == 14, "a face is seven 16-bit fields");

struct Mesh {
    std::uint16_t lastVertex = 0; // vertices = lastVertex + 1
    std::uint16_t lastFace = 0;   // faces = lastFace + 1
    std::vector<std::int32_t> x, y, z;
    std::vector<Face> faces;

    int vertexCount() const { return lastVertex + 1; }
    int faceCount() const { return lastFace + 1; }
};

// The engine's scratch mesh: always at least as large as any mesh allocated.
extern Mesh* scratchMesh;

// Creates the scratch mesh (last vertex 5000, last face 15000) if missing.
void InitScratchMesh();

// Frees `mesh` if present and allocates one with room for L + 1 vertices and
// M + 1 faces; grows the scratch mesh first when needed. Returns false (and
// leaves `mesh` null) when the arrays cannot be allocated.
bool AllocateMesh(Mesh*& mesh, int lastVertex, int lastFace);

// Releases the mesh and sets the reference to null; a null mesh is ignored.
void FreeMesh(Mesh*& mesh);

// `destination` becomes a copy of `source` (allocated one slot larger).
void CopyMesh(const Mesh* source, Mesh*& destination);

// out[i] = from[i] + round(t * (to[i] - from[i])); see mesh.cpp.
void MorphMesh(const Mesh* from, const Mesh* to, Mesh*& out, float t);

// Parses .3do bytes into a mesh of exactly the counts' size. Refuses data
// shorter than its counts need and faces naming a vertex the mesh does not
// have (a sprite face names only its centre), with the reason as the error
// ("it holds 67 bytes but its counts need 68"); trailing bytes are ignored.
Loaded<Mesh> ParseMeshBytes(std::span<const std::uint8_t> data);

// Reads a .3do file: its counts, then the bytes they call for and nothing
// past them. Errors: "VX3: The file <name> is missing", or "VX3: The file
// <name> is invalid: " and the parser's reason.
Loaded<Mesh> ReadMeshFile(const std::string& fileName);

// Reads a .3do file into `mesh` (freeing what it held). On failure returns
// false, leaves `mesh` null and sets `error` to a readable reason.
bool LoadMesh(const std::string& fileName, Mesh*& mesh, std::string* error = nullptr);

// ParseMeshBytes into an allocated mesh (used by the fuzz target).
bool ParseMesh(const std::uint8_t* data, std::size_t size, Mesh*& mesh, std::string* error);

// Encodes a mesh in the .3do layout.
std::vector<std::uint8_t> EncodeMesh(const Mesh& mesh);
bool SaveMesh(const std::string& fileName, const Mesh& mesh);
