// The textured panels of the sky dome: sky.3do is built from them and the
// sky texture is painted for them, so both share one geometry.
#pragma once

#include "meshes_geometry.h"

constexpr int kSkySectors = 16;
constexpr double kSkyRadius = 4000;
// Elevations in degrees: the panels' lower and upper edges, the cap's edge.
constexpr double kSkyLow = -12, kSkyHigh = 72, kSkyCapEdge = 71;
// Each panel reaches this many degrees into its neighbours.
constexpr double kSkyOverlap = 0.5;

// A point of the dome at an azimuth and an elevation (degrees), y up.
Vec3 SkyPoint(double azimuth, double elevation);

// One panel's corners as the viewer inside sees them: the texture's top left
// corner at tl, its top right at tr and so on.
struct SkyPanel {
    Vec3 tl, tr, br, bl;
};
SkyPanel SkyPanelAt(int sector);

// Where the texel at (u, v), 0..1 across and down, lands on a panel. A
// quadrilateral is drawn as two triangles, each mapping the texture
// affinely: (tl, tr, br) the upper right half (u >= v), (br, bl, tl) the
// lower left.
Vec3 SkyPanelPoint(const SkyPanel& panel, double u, double v);
