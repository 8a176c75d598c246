// The scene half of the renderer: projection, camera, lights and the polygon
// queue that meshes are submitted to and that is drawn far to near.
#pragma once

#include <cstdint>

#include "engine/render_context.h"

struct Mesh;

constexpr int kQueueCapacity = 5000;

// Stores the projection and sizes the polygon queue and sort array for
// `capacity` polygons (queue emptied).
void SetProjection(int cx, int cy, int capacity, int planeScale, int nearDistance,
                   int segmentLength, int fy, int fx);

// Grows the polygon queue and sort array to hold at least `capacity`
// polygons, keeping the projection and what is queued; never shrinks them.
void ReserveQueue(int capacity);

// Sizes both frame buffers to W x H, applies the palette again and sets the
// projection for that view.
void SetupViewport(int width, int height);

// Fills the main buffer, and the stereo buffer while stereoscopic, with one
// palette index.
void ClearFrame(std::uint8_t colour);

// Places the camera (angles in angle units); empties the lights and the queue.
// Angles are given yaw, pitch, roll everywhere in the engine.
void SetCamera(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw, std::int32_t pitch,
               std::int32_t roll);

// Adds a point light (world position, radius in world units). Lights beyond
// the 256th are ignored.
void AddLight(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t radius);

// Queues the mesh's visible triangles: turned by its own angles, moved to
// (x, y, z), seen from the camera. Polygons beyond the queue's capacity are
// dropped.
void SubmitMesh(const Mesh* mesh, std::int32_t x, std::int32_t y, std::int32_t z,
                std::int32_t transparencyPercent, std::int32_t baseShade, std::int32_t yaw = 0,
                std::int32_t pitch = 0, std::int32_t roll = 0);
// The same for the mesh's first `faceLimit` faces only (all it has when it
// has fewer).
void SubmitMeshFaces(const Mesh* mesh, int faceLimit, std::int32_t x, std::int32_t y,
                     std::int32_t z, std::int32_t transparencyPercent, std::int32_t baseShade,
                     std::int32_t yaw = 0, std::int32_t pitch = 0, std::int32_t roll = 0);

// Lights, sorts (farthest first) and draws the queue into the main buffer,
// and into the stereo buffer while stereoscopic; then empties the lights.
// An empty queue does nothing.
void DrawQueue();

// Whether a point may be on screen: near the camera on every axis within
// `radius`, or in front of it and projected within a margin of cx around
// the picture.
bool IsPointVisible(std::int32_t radius, std::int32_t x, std::int32_t y, std::int32_t z);
