#include "sky_panel.h"

Vec3 SkyPoint(double azimuth, double elevation) {
    const double a = Radians(azimuth), e = Radians(elevation);
    return Vec3{kSkyRadius * std::cos(e) * std::cos(a), kSkyRadius * std::sin(e),
                kSkyRadius * std::cos(e) * std::sin(a)};
}

SkyPanel SkyPanelAt(int sector) {
    const double from = 360.0 * sector / kSkySectors - kSkyOverlap;
    const double to = 360.0 * (sector + 1) / kSkySectors + kSkyOverlap;
    SkyPanel panel{SkyPoint(from, kSkyHigh), SkyPoint(to, kSkyHigh), SkyPoint(to, kSkyLow),
                   SkyPoint(from, kSkyLow)};
    // Shown to the viewer at the centre: corners running clockwise as seen
    // from there (the mesh builder's rule), else mirrored left to right.
    const Vec3 inward = (panel.tl + panel.br) * -0.5;
    if (Dot(Cross(panel.tr - panel.tl, panel.br - panel.tr), inward) < 0) {
        std::swap(panel.tl, panel.tr);
        std::swap(panel.bl, panel.br);
    }
    return panel;
}

Vec3 SkyPanelPoint(const SkyPanel& p, double u, double v) {
    if (u >= v) return p.tl + (p.tr - p.tl) * u + (p.br - p.tr) * v;
    return p.tl + (p.bl - p.tl) * v + (p.br - p.bl) * u;
}
