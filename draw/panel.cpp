#include "draw/panel.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/angles.h"
#include "engine/render_context.h"
#include "media/image_blit.h"

namespace {

void darkenInto(FrameBuffer& buffer, std::uint8_t colour, int level, double top, double left,
                double height, double width) {
    const std::array<std::uint8_t, 1> pixel{colour};
    const std::uint8_t* remap = renderContext.shadeTable->data() + 255 * 256;
    const std::uint8_t* mixing = renderContext.blendTable->data() + level * 256 * 256;
    BlitScaledImage({pixel, 1, 1}, RoundEven(buffer.width * left), RoundEven(buffer.height * top),
                    RoundEven(buffer.width * width), RoundEven(buffer.height * height), false,
                    remap, mixing, buffer);
}

} // namespace

int DarkestPaletteEntry() {
    const PalettePlanes& p = renderContext.palette;
    int best = 1, bestSum = 3 * 256;
    for (int i = 1; i <= 254; ++i) {
        const int sum = p[i] + p[256 + i] + p[512 + i];
        if (sum < bestSum) {
            bestSum = sum;
            best = i;
        }
    }
    return best;
}

void DrawDarkPanel(double topFraction, double leftFraction, double heightFraction,
                   double widthFraction, int transparencyPercent) {
    const int level = std::clamp(transparencyPercent, 0, 100) * (kBlendPlanes - 1) / 100;
    const auto colour = static_cast<std::uint8_t>(DarkestPaletteEntry());
    darkenInto(renderContext.mainBuffer, colour, level, topFraction, leftFraction, heightFraction,
               widthFraction);
    if (renderContext.stereoscopic)
        darkenInto(renderContext.stereoBuffer, colour, level, topFraction, leftFraction,
                   heightFraction, widthFraction);
}
