// Meshes of the screens around the play: the sky dome drawn around the
// viewer, and the end screen's podium and flag.
#include <algorithm>
#include <cmath>

#include "meshes_builder.h"
#include "meshes_catalog.h"
#include "sky_panel.h"

namespace {

// Corners of a rectangle in a plane of constant z, facing -z.
void FrontRectangle(MeshBuilder& b, double x0, double y0, double x1, double y1, double z,
                    Paint paint) {
    const int tr = b.Point({x1, y1, z});
    const int br = b.Point({x1, y0, z});
    const int bl = b.Point({x0, y0, z});
    const int tl = b.Point({x0, y1, z});
    b.QuadFacing(tr, br, bl, tl, {0, 0, -1}, paint);
}

// A seven-segment digit centred at (cx, cy) on a front plane at z.
void Digit(MeshBuilder& b, int digit, double cx, double cy, double height, double z, Paint paint) {
    const double w = height * 0.6, t = height * 0.16;
    const double left = cx - w / 2, right = cx + w / 2;
    const double top = cy + height / 2, bottom = cy - height / 2;
    // Segments a (top), b, c (right, upper and lower), d (bottom), e, f
    // (left, lower and upper), g (middle).
    const bool lit[3][7] = {
        {false, true, true, false, false, false, false}, // 1
        {true, true, false, true, true, false, true},    // 2
        {true, true, true, true, false, false, true},    // 3
    };
    const bool* on = lit[digit - 1];
    if (on[0]) FrontRectangle(b, left, top - t, right, top, z, paint);
    if (on[1]) FrontRectangle(b, right - t, cy, right, top, z, paint);
    if (on[2]) FrontRectangle(b, right - t, bottom, right, cy, z, paint);
    if (on[3]) FrontRectangle(b, left, bottom, right, bottom + t, z, paint);
    if (on[4]) FrontRectangle(b, left, bottom, left + t, cy, z, paint);
    if (on[5]) FrontRectangle(b, left, cy, left + t, top, z, paint);
    if (on[6]) FrontRectangle(b, left, cy - t / 2, right, cy + t / 2, z, paint);
}

} // namespace

Mesh SkyMesh() {
    // A band of textured panels from below the horizon high up the sky, the
    // image's top row at the band's upper edge, closed by a flat cap. Every
    // panel and cap piece reaches a little into its neighbours.
    MeshBuilder b;
    // Behind it a plain dome of sky colour, its seams turned half a panel
    // away: the rasterizer may leave single pixels open along the edge two
    // triangles share, and there the plain dome shows instead of the fog.
    for (int i = 0; i < kSkySectors; ++i) {
        const double from = 360.0 * (i + 0.5) / kSkySectors, to = 360.0 * (i + 1.5) / kSkySectors;
        const double far = 1.1;
        const int tl = b.Point(SkyPoint(from, kSkyHigh) * far);
        const int tr = b.Point(SkyPoint(to, kSkyHigh) * far);
        const int bl = b.Point(SkyPoint(from, kSkyLow) * far);
        const int br = b.Point(SkyPoint(to, kSkyLow) * far);
        b.QuadFacing(tr, br, bl, tl, (b.points[tl] + b.points[br]) * -0.5, Plain(paint::kSky, 9));
    }
    const int zenith = b.Point({0, kSkyRadius, 0});
    for (int i = 0; i < kSkySectors; ++i) {
        // Shown to the viewer inside the dome; the sky texture is painted
        // for exactly this panel.
        const SkyPanel panel = SkyPanelAt(i);
        b.Quad(b.Point(panel.tr), b.Point(panel.br), b.Point(panel.bl), b.Point(panel.tl),
               Textured(kTexSky));
        const double from = 360.0 * i / kSkySectors - kSkyOverlap;
        const double to = 360.0 * (i + 1) / kSkySectors + kSkyOverlap;
        b.TriangleFacing(zenith, b.Point(SkyPoint(from, kSkyCapEdge)),
                         b.Point(SkyPoint(to, kSkyCapEdge)), {0, -1, 0}, Plain(paint::kSky, 6));
    }
    return FinishMesh(b);
}

Mesh PodiumMesh() {
    // Three steps of white stone with gold tops and their numbers in front;
    // the ground of the end screen is y = -400 and the winner stands at -90.
    MeshBuilder b;
    const Paint stone = Flat(paint::kGrey, 11);
    const Paint gold = Flat(paint::kGold, 9);
    const Paint numbers = Plain(paint::kGold, 11);
    AddBox(b, At({}), {-470, -400, -200}, {470, -380, 200},
           {Flat(paint::kGrey, 8), Flat(paint::kGrey, 9), stone}, kLowY);
    struct Step {
        double x0, x1, top;
        int place;
    };
    for (const Step& step :
         {Step{-150, 150, -90, 1}, Step{150, 420, -200, 2}, Step{-420, -150, -270, 3}}) {
        const double depth = step.place == 1 ? 150 : 135;
        AddBox(b, At({}), {step.x0, -380, -depth}, {step.x1, step.top, depth}, {stone, gold, stone},
               kLowY);
        const double height = step.top + 380;
        Digit(b, step.place, (step.x0 + step.x1) / 2, -380 + height / 2,
              std::min(120.0, height * 0.62), -depth - 2, numbers);
    }
    return FinishMesh(b);
}

Mesh FlagMesh() {
    // A pole behind the winner with a banner of blue and gold waving in the wind.
    MeshBuilder b;
    constexpr double kPoleZ = 120;
    AddBox(b, At({0, 0, kPoleZ}), {-6, -90, -6}, {6, 540, 6}, AllSides(Flat(paint::kSteel, 11)),
           kLowY);
    AddBipyramid(b, At({0, 0, kPoleZ}), 4, 532, 552, 574, 16, 45, Flat(paint::kGold, 11));
    // Cloth: four columns of points, three rows of stripes.
    constexpr int kColumns = 4;
    const double wave[kColumns] = {0, 26, -6, 30};
    const double rows[4] = {520, 468, 422, 370};
    const Paint stripes[3] = {TwoSided(Flat(paint::kDeepBlue, 8)), TwoSided(Flat(paint::kGold, 10)),
                              TwoSided(Flat(paint::kDeepBlue, 8))};
    int grid[4][kColumns];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < kColumns; ++c)
            grid[r][c] = b.Point({8 + c * 95.0, rows[r] - c * 6.0, kPoleZ + wave[c]});
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c + 1 < kColumns; ++c)
            b.QuadFacing(grid[r][c + 1], grid[r + 1][c + 1], grid[r + 1][c], grid[r][c], {0, 0, -1},
                         stripes[r]);
    return FinishMesh(b);
}
