#include "engine/stereo.h"

#include <algorithm>

#include "engine/angles.h"
#include "engine/render_context.h"
#include "media/display.h"

namespace {

// The normal palette while stereoscopic viewing is on.
PalettePlanes savedPalette{};

void BuildIntensityShades(const PalettePlanes& palette, ShadeTable& shades) {
    for (int s = 0; s < 256; ++s) {
        shades[s * 256] = 0;
        for (int c = 1; c < 256; ++c) {
            const int m = (palette[c] + palette[256 + c] + palette[512 + c]) / 3;
            const int k = RoundEven(s * m * 1.8);
            shades[s * 256 + c] = static_cast<std::uint8_t>(std::min(k / 256, 239) / 16);
        }
    }
}

std::uint8_t MixChannel(int eyeA, int eyeB, int i, int j) {
    const int sum = (eyeA * i / 16 + eyeB * j / 16) / 2;
    return static_cast<std::uint8_t>(std::min(255, RoundEven(sum * 1.4)));
}

void ApplyToBuffers() {
    ApplyPalette(renderContext.mainBuffer, renderContext.palette);
    ApplyPalette(renderContext.stereoBuffer, renderContext.palette);
}

} // namespace

void StereoOn(int aRed, int aGreen, int aBlue, int eyeShift, int bBlue, int bGreen, int bRed) {
    StereoOff();
    renderContext.stereoscopic = 1;
    renderContext.eyeShift = eyeShift;
    BuildIntensityShades(renderContext.palette, *renderContext.shadeTable);

    savedPalette = renderContext.palette;
    PalettePlanes& palette = renderContext.palette;
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            const int entry = 16 * i + j;
            palette[entry] = MixChannel(aRed, bRed, i, j);
            palette[256 + entry] = MixChannel(aGreen, bGreen, i, j);
            palette[512 + entry] = MixChannel(aBlue, bBlue, i, j);
        }
    }
    ApplyToBuffers();
}

void StereoOff() {
    if (!renderContext.stereoscopic) return;
    renderContext.stereoscopic = 0;
    *renderContext.shadeTable = *renderContext.savedShadeTable;
    renderContext.palette = savedPalette;
    ApplyToBuffers();
}

const FrameBuffer* ActiveStereoBuffer() {
    return renderContext.stereoscopic ? &renderContext.stereoBuffer : nullptr;
}
