// The sky texture, painted for the dome's panels: each texel is traced to
// the direction it is seen in, and the clouds are drawn there. Every panel
// shows the whole image, so the clouds repeat once per panel round the
// horizon and meet across the panels' seams.
#include <algorithm>
#include <array>
#include <cmath>

#include "paint_noise.h"
#include "paint_palette.h"
#include "sky_panel.h"
#include "textures_painters.h"

namespace paint {

namespace {

constexpr double kSectorDegrees = 360.0 / kSkySectors;
// Cloud field units per degree of azimuth: one panel is 128 units across.
constexpr double kAcross = kSide / kSectorDegrees;

// The cloud field's height coordinate at an elevation (degrees). Units
// stretch as a degree of azimuth shrinks toward the zenith (so that clouds
// keep their shape) and as a cloud layer seen low down flattens toward the
// horizon.
double FieldHeight(double elevation) {
    constexpr double kStep = 0.05;
    double height = 0;
    for (double e = 0; e < std::abs(elevation); e += kStep) {
        const double r = Radians(e + kStep / 2);
        height += 0.55 * kAcross * kStep / (std::cos(r) * std::max(std::sin(r), 0.3));
    }
    return elevation < 0 ? -height : height;
}

// Cloud density round zero at field point (x, y): x wraps with the panel,
// y runs on without repeating (neighbouring bands of 128 fade into each other).
int Density(int x, int y) {
    const int band = y >= 0 ? y / kSide : (y - kSide + 1) / kSide;
    const int within = y - band * kSide;
    const auto field = [&](int b) {
        return Fractal(x, y, 64, 5, kSide, 2401 + static_cast<std::uint32_t>(b) * 7919u);
    };
    return (field(band) * (kSide - within) + field(band + 1) * within) / kSide - 128;
}

} // namespace

void PaintSky(TextureCanvas& c) {
    // The panel every image is shown on; all panels are alike.
    const SkyPanel panel = SkyPanelAt(0);
    const double panelStart = std::atan2(panel.tl.z, panel.tl.x);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const Vec3 p = SkyPanelPoint(panel, (x + 0.5) / kSide, (y + 0.5) / kSide);
            double azimuth = (std::atan2(p.z, p.x) - panelStart) * 180.0 / 3.14159265358979323846;
            if (azimuth < -180) azimuth += 360;
            if (azimuth > 180) azimuth -= 360;
            const double elevation =
                std::atan2(p.y, std::sqrt(p.x * p.x + p.z * p.z)) * 180.0 / 3.14159265358979323846;
            // Field coordinates, whole units; x wraps once per panel.
            const int fx = static_cast<int>(std::lround(azimuth * kAcross)) & (kSide - 1);
            const int fy = static_cast<int>(std::lround(FieldHeight(elevation)));
            // Deep blue overhead, pale at the horizon.
            const double height = std::clamp(elevation / kSkyHigh, 0.0, 1.0);
            const int base = 210 - static_cast<int>(110 * height);
            // Clouds gather toward the horizon, thin out overhead and melt
            // into haze below it.
            const int bias = static_cast<int>(30 - 70 * height) - (elevation < 2 ? 200 : 0);
            const int cloud = Density(fx, fy) * 3 + bias;
            if (cloud <= 0) {
                c.Set(x, y, kSky, base);
                continue;
            }
            // Thin edges melt into the blue; thick cloud is lit from above
            // and greyer where more cloud lies above it.
            const int amount = std::min(cloud, 48);
            const int above = Density(fx, fy + 6) * 3 + bias;
            const int shade = std::max(0, above - cloud) / 3;
            c.Set(x, y, kSky, base + (250 - base) * amount / 48 - std::min(shade, 50));
        }
}

} // namespace paint
