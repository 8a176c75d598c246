// Triangle meshes: integer vertices and faces that carry their own texture,
// colour and drawing kind, read from .3do files or built in code.
#pragma once

#include <cstdint>
#include <optional>
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

    int VertexCount() const { return lastVertex + 1; }
    int FaceCount() const { return lastFace + 1; }
};

// Records own their meshes as values; an empty slot has none.
using MeshSlot = std::optional<Mesh>;

// The mesh a slot holds, or null: for the functions that draw or read a mesh
// that may be missing.
inline const Mesh* MeshOrNull(const MeshSlot& slot) {
    return slot ? &*slot : nullptr;
}

// The engine's scratch mesh: always at least as large as any mesh made.
extern Mesh scratchMesh;

// Sizes the scratch mesh (last vertex 5000, last face 15000) once.
void InitScratchMesh();

// A mesh with room for L + 1 vertices and M + 1 faces, all zero; grows the
// scratch mesh first when needed. nullopt when the counts are outside the
// 16-bit range (one past it is allowed: a copy carries one spare slot) or
// the arrays cannot be allocated.
MeshSlot MakeMesh(int lastVertex, int lastFace);

// `destination` becomes a copy of `source` (with one spare slot), or empty
// when there is no source.
void CopyMesh(const Mesh* source, MeshSlot& destination);

// out[i] = from[i] + round(t * (to[i] - from[i])); see mesh.cpp.
void MorphMesh(const Mesh* from, const Mesh* to, MeshSlot& out, float t);

// Parses .3do bytes into a mesh of exactly the counts' size (the scratch
// mesh grows with it). Refuses data shorter than its counts need and faces
// naming a vertex the mesh does not have (a sprite face names only its
// centre), with the reason as the error ("it holds 67 bytes but its counts
// need 68"); trailing bytes are ignored.
Loaded<Mesh> ParseMeshBytes(std::span<const std::uint8_t> data);

// Reads a .3do file: its counts, then the bytes they call for and nothing
// more. The error is the text to show: "VX3: The file <name> is missing" or
// "VX3: The file <name> is invalid: <reason>".
Loaded<Mesh> ReadMeshFile(const std::string& fileName);

// Encodes a mesh in the .3do layout.
std::vector<std::uint8_t> EncodeMesh(const Mesh& mesh);
bool SaveMesh(const std::string& fileName, const Mesh& mesh);
