// The sky texture as the dome shows it: its panels map texels where the
// painter traced them, and the clouds keep their shape on the dome instead
// of running into streaks toward the zenith.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "draw/pipeline.h"
#include "engine/render_context.h"
#include "engine/texture_bank.h"
#include "meshes_catalog.h"
#include "render_view.h"
#include "sky_panel.h"
#include "visuals_support.h"

namespace {

double Distance(Vec3 a, Vec3 b) {
    return Length(a - b);
}

// Brightness steps between neighbouring blocks of 4 x 4 pixels, across (x)
// and down (y), summed over the picture: blocks even out the texture's
// dither.
struct Steps {
    double across = 0, down = 0;
};

Steps BlockSteps() {
    constexpr int kBlock = 4, kApart = 4;
    const FrameBuffer& buffer = renderContext.mainBuffer;
    const Projection& p = renderContext.projection;
    // Screen rows from the top, in either row order of the buffer.
    const auto pixel = [&](int x, int y) {
        const int row = windowMode ? buffer.height - 1 - y : y;
        return buffer.pixels[row * buffer.width + x];
    };
    const int bw = p.maxX / kBlock;
    int bh = p.maxY / kBlock;
    std::vector<double> blocks(static_cast<std::size_t>(bw * bh));
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx) {
            long long sum = 0;
            for (int y = by * kBlock; y < (by + 1) * kBlock; ++y)
                for (int x = bx * kBlock; x < (bx + 1) * kBlock; ++x) {
                    sum += Luma(renderContext.palette, pixel(x, y));
                    if (pixel(x, y) == 0) bh = std::min(bh, by); // below the dome: stop above
                }
            blocks[by * bw + bx] = double(sum) / (kBlock * kBlock);
        }
    // Without roll every row lies at one elevation: taking each row's mean
    // away leaves the clouds without the sky's gradient.
    for (int by = 0; by < bh; ++by) {
        double mean = 0;
        for (int bx = 0; bx < bw; ++bx) mean += blocks[by * bw + bx] / bw;
        for (int bx = 0; bx < bw; ++bx) blocks[by * bw + bx] -= mean;
    }
    Steps steps;
    for (int by = 0; by + kApart < bh; ++by)
        for (int bx = 0; bx + kApart < bw; ++bx) {
            const double b = blocks[by * bw + bx];
            steps.across += std::abs(blocks[by * bw + bx + kApart] - b);
            steps.down += std::abs(blocks[(by + kApart) * bw + bx] - b);
        }
    return steps;
}

} // namespace

TEST(SkyPanels, TexelsLandOnTheCornersAndBothTrianglesMeetOnTheDiagonal) {
    for (int sector = 0; sector < kSkySectors; ++sector) {
        const SkyPanel p = SkyPanelAt(sector);
        EXPECT_LT(Distance(SkyPanelPoint(p, 0, 0), p.tl), 1e-6);
        EXPECT_LT(Distance(SkyPanelPoint(p, 1, 0), p.tr), 1e-6);
        EXPECT_LT(Distance(SkyPanelPoint(p, 1, 1), p.br), 1e-6);
        EXPECT_LT(Distance(SkyPanelPoint(p, 0, 1), p.bl), 1e-6);
        for (double t : {0.1, 0.5, 0.9}) {
            // Just either side of the diagonal the two triangles agree.
            EXPECT_LT(Distance(SkyPanelPoint(p, t + 1e-9, t), SkyPanelPoint(p, t - 1e-9, t)), 1e-3);
        }
        // The image's top row is the panel's upper edge, seen from inside.
        EXPECT_GT(p.tl.y, p.bl.y);
        const Vec3 inward = (p.tl + p.br) * -0.5;
        EXPECT_GT(Dot(Cross(p.tr - p.tl, p.br - p.tr), inward), 0);
    }
}

TEST(SkyTexture, CloudsOnTheDomeRunNoMoreAcrossThanDown) {
    ScopedCurrentDir cd(GeneratedVisuals().path());
    ASSERT_TRUE(LoadBank("TEXTURES/KELVANE.TXT"));
    const Mesh sky = SkyMesh();
    constexpr int kWidth = 320, kHeight = 240;
    Steps total;
    // Low down, where the clouds gather, and higher up.
    for (int pitch : {900, 1800, 3400}) {
        for (int yaw : {0, 3000, 9000, 17000, 26000}) {
            SetupBareView(kWidth, kHeight);
            SetCamera(0, 0, 0, yaw, pitch, 0);
            SubmitMesh(&sky, 0, 0, 0, 0, 0, 0, 0, 0);
            DrawQueue();
            const Steps steps = BlockSteps();
            total.across += steps.across;
            total.down += steps.down;
        }
    }
    // Streaks running up the dome change fast across and slowly down (the
    // former texture, stretched up each panel: across 1.2 times down).
    EXPECT_LT(total.across, total.down) << total.across << " " << total.down;
}
