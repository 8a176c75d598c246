// Mesh allocation, copying and key-frame blending, and the engine's scratch
// mesh that the polygon pipeline transforms vertices into.
#include "engine/mesh.h"
#include "engine/angles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

Mesh scratchMesh;

namespace {

constexpr int kMaxLastIndex = 65535; // the counts are 16-bit in files and records
constexpr int kScratchLastVertex = 5000;
constexpr int kScratchLastFace = 15000;

// Resizes the arrays of `mesh` to exactly `vertices` and `faces` entries.
bool sizeArrays(Mesh& mesh, std::size_t vertices, std::size_t faces) {
    try {
        mesh.x.assign(vertices, 0);
        mesh.y.assign(vertices, 0);
        mesh.z.assign(vertices, 0);
        mesh.faces.assign(faces, Face{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::uint16_t lastIndex(std::size_t entries) {
    return static_cast<std::uint16_t>(std::min<std::size_t>(entries - 1, kMaxLastIndex));
}

// Grows the scratch mesh so that it holds at least the given counts: one more
// than the larger of its present and the new count, per array.
void growScratch(std::size_t vertices, std::size_t faces) {
    InitScratchMesh();
    const std::size_t heldVertices = scratchMesh.x.size();
    const std::size_t heldFaces = scratchMesh.faces.size();
    if (vertices <= heldVertices && faces <= heldFaces) return;
    const std::size_t newVertices = std::max(heldVertices, vertices) + 1;
    const std::size_t newFaces = std::max(heldFaces, faces) + 1;
    if (!sizeArrays(scratchMesh, newVertices, newFaces)) return;
    scratchMesh.lastVertex = lastIndex(newVertices);
    scratchMesh.lastFace = lastIndex(newFaces);
}

bool holdsVertices(const Mesh& mesh) {
    const std::size_t count = mesh.VertexCount();
    return mesh.x.size() >= count && mesh.y.size() >= count && mesh.z.size() >= count;
}

std::int32_t blend(std::int32_t from, std::int32_t to, float t) {
    const double step = static_cast<double>(t) * (static_cast<double>(to) - from);
    // The step can exceed the int32 range between far-apart keys, so it is
    // rounded in a wider type (kept well inside the exact range of a double)
    // and the sum saturates.
    const double rounded = std::isnan(step) ? 0.0 : std::clamp(std::nearbyint(step), -1e15, 1e15);
    return RoundEven(static_cast<double>(from) + rounded);
}

} // namespace

void InitScratchMesh() {
    if (!scratchMesh.faces.empty()) return;
    if (!sizeArrays(scratchMesh, kScratchLastVertex + 1, kScratchLastFace + 1)) return;
    scratchMesh.lastVertex = kScratchLastVertex;
    scratchMesh.lastFace = kScratchLastFace;
}

MeshSlot MakeMesh(int lastVertex, int lastFace) {
    // One past the 16-bit range is allowed: a copy carries one spare slot.
    if (lastVertex < 0 || lastFace < 0 || lastVertex > kMaxLastIndex + 1 ||
        lastFace > kMaxLastIndex + 1)
        return std::nullopt;
    const auto vertices = static_cast<std::size_t>(lastVertex) + 1;
    const auto faces = static_cast<std::size_t>(lastFace) + 1;
    growScratch(vertices, faces);

    Mesh created;
    if (!sizeArrays(created, vertices, faces)) return std::nullopt;
    created.lastVertex = lastIndex(vertices);
    created.lastFace = lastIndex(faces);
    return created;
}

void CopyMesh(const Mesh* source, MeshSlot& destination) {
    if (destination && source == &*destination) return;
    destination.reset();
    if (!source) return;
    destination = MakeMesh(source->lastVertex + 1, source->lastFace + 1);
    if (!destination) return;
    destination->lastVertex = source->lastVertex;
    destination->lastFace = source->lastFace;
    const std::size_t vertices = std::min({static_cast<std::size_t>(source->VertexCount()),
                                           source->x.size(), source->y.size(), source->z.size()});
    const std::size_t faces = std::min<std::size_t>(source->FaceCount(), source->faces.size());
    std::copy_n(source->x.begin(), vertices, destination->x.begin());
    std::copy_n(source->y.begin(), vertices, destination->y.begin());
    std::copy_n(source->z.begin(), vertices, destination->z.begin());
    std::copy_n(source->faces.begin(), faces, destination->faces.begin());
}

void MorphMesh(const Mesh* from, const Mesh* to, MeshSlot& out, float t) {
    if (!from || !to || !holdsVertices(*from)) return;
    // A fresh copy is built aside, so that `out` may be one of the key meshes.
    Mesh* target = out ? &*out : nullptr;
    MeshSlot fresh;
    if (!out || out->lastVertex != from->lastVertex || !holdsVertices(*out)) {
        CopyMesh(from, fresh);
        if (!fresh) return;
        target = &*fresh;
    }
    // Key meshes of one figure should match; vertices that `to` lacks keep
    // the position of `from` rather than reading past its arrays.
    const int count = from->VertexCount();
    const int blended = holdsVertices(*to) ? std::min(count, to->VertexCount()) : 0;
    for (int i = 0; i < blended; ++i) {
        target->x[i] = blend(from->x[i], to->x[i], t);
        target->y[i] = blend(from->y[i], to->y[i], t);
        target->z[i] = blend(from->z[i], to->z[i], t);
    }
    for (int i = blended; i < count; ++i) {
        target->x[i] = from->x[i];
        target->y[i] = from->y[i];
        target->z[i] = from->z[i];
    }
    if (fresh) out = std::move(fresh);
}
