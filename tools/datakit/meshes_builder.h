// Building meshes from solids and panels: points in real coordinates, faces
// oriented so that they face out of their solid (the renderer drops faces
// seen from behind), flat colours shaded once by a fixed light so that the
// shapes read even though the renderer lights by distance only.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/mesh.h"
#include "meshes_geometry.h"
#include "paint_palette.h"

// Palette index of a ramp (0..15) at a level (0..15).
constexpr int RampColour(int ramp, int level) {
    return ramp * 16 + level;
}

// Texture numbers of the bank.
enum TextureNumber {
    kTexStone = 2,
    kTexEarth = 3,
    kTexPlanks = 6,
    kTexMetal = 7,
    kTexLadder = 10,
    kTexDoor = 12,
    kTexSensor = 13,
    kTexIngot = 15,
    kTexLamp = 17,
    kTexSpring = 19,
    kTexSpikes = 20,
    kTexMossyStone = 23,
    kTexPortal = 25,
    kTexSky = 26,
    kTexRootedSoil = 27,
    kTexSecondCircuitDoor = 28,
    kTexIngotDoor = 29,
    kTexSensorDoor = 30,
};

// The circuits' colours (palette ramps): a lever and the doors it opens.
constexpr int kFirstCircuit = paint::kDeepBlue;
constexpr int kSecondCircuit = paint::kTerracotta;

// How a face is drawn.
struct Paint {
    std::uint16_t texture = 0; // texture number, or the palette index of a flat face
    std::uint16_t kind = kFaceFlat;
    std::uint16_t doubleSided = 0;
    bool shaded = false; // flat colour whose level follows the fixed light
};

// A flat colour at `level` of `ramp`, brightened or darkened by the face's
// direction (about three levels either way).
Paint Flat(int ramp, int level);
// A flat colour used exactly as given.
Paint Plain(int ramp, int level);
Paint Textured(int texture);
Paint Keyed(int texture); // colour 0 of the texture is transparent
Paint TwoSided(Paint paint);

struct MeshBuilder {
    std::vector<Vec3> points;
    std::vector<Face> faces;
    std::vector<bool> shaded;

    int Point(Vec3 p);
    // A triangle whose corners run clockwise as seen from the side it shows.
    void Triangle(int a, int b, int c, Paint paint);
    // A quadrilateral given by its corners top right, bottom right, bottom
    // left, top left as seen from the side it shows; a texture shows upright.
    void Quad(int tr, int br, int bl, int tl, Paint paint);
    // The same, but the corners may run either way round: the face is turned
    // so that it shows on the side `outward` points to.
    void TriangleFacing(int a, int b, int c, Vec3 outward, Paint paint);
    void QuadFacing(int tr, int br, int bl, int tl, Vec3 outward, Paint paint);
};

// Which faces of a box to leave out (faces hidden for good inside another solid).
enum BoxSide : unsigned {
    kNoSide = 0,
    kLowX = 1,
    kHighX = 2,
    kLowY = 4,
    kHighY = 8,
    kLowZ = 16,
    kHighZ = 32,
};

struct BoxPaints {
    Paint sides, top, bottom;
};
BoxPaints AllSides(Paint paint);

// A box from `low` to `high` in `frame`, optionally tapered: the top face's
// half sizes in x and z are `topScale` times the bottom's.
void AddBox(MeshBuilder& b, const Frame& frame, Vec3 low, Vec3 high, const BoxPaints& paints,
            unsigned omit = kNoSide, double topScaleX = 1.0, double topScaleZ = 1.0);

// A regular n-sided frustum around the frame's y axis from y0 (radius r0) to
// y1 (radius r1); a radius of 0 makes a cone point. `phase` turns the first
// corner (degrees from +x toward +z). Caps are added where `capBottom` /
// `capTop` say and the radius is not 0.
void AddFrustum(MeshBuilder& b, const Frame& frame, int sides, double y0, double r0, double y1,
                double r1, double phase, Paint side, const Paint* capBottom, const Paint* capTop);

// A double cone of n sides around the frame's y axis: points at y0 and y2,
// the widest ring (radius r) at y1.
void AddBipyramid(MeshBuilder& b, const Frame& frame, int sides, double y0, double y1, double y2,
                  double r, double phase, Paint paint);

// A flat polygon given by its outline (a convex or star-shaped loop), as a
// fan from its centre point, showing toward `outward`.
void AddFan(MeshBuilder& b, const std::vector<Vec3>& outline, Vec3 centre, Vec3 outward,
            Paint paint);

// An outline extruded between two parallel planes: `outline` lies on one
// plane, `depth` leads to the other. The outline must be star-shaped around
// `centre` (both caps are fans from the centre).
void AddExtrusion(MeshBuilder& b, const std::vector<Vec3>& outline, Vec3 centre, Vec3 depth,
                  Paint caps, Paint sides);

// Rounds the points and gives shaded flat faces their level.
Mesh FinishMesh(const MeshBuilder& b);

// A key frame of an animation: the vertices of `frame` with the faces of
// `first` (morphing keeps the faces of the first frame, so all frames of one
// animation share them).
Mesh WithFacesOf(Mesh frame, const Mesh& first);
