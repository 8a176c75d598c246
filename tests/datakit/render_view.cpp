#include "render_view.h"

#include <memory>

#include "draw/pipeline.h"
#include "engine/render_context.h"

void SetupBareView(int width, int height, int texture, std::uint8_t imageColour) {
    InitScratchMesh();
    RenderContext& rc = renderContext;
    rc.stereoscopic = 0;
    for (int shade = 0; shade < 256; ++shade)
        for (int colour = 0; colour < 256; ++colour)
            (*rc.shadeTable)[shade * 256 + colour] = static_cast<std::uint8_t>(colour);
    if (texture > 0) {
        auto image = std::make_unique<TextureImage>();
        image->fill(imageColour);
        rc.images[texture] = std::move(image);
        rc.textures[texture] = TextureEntry{texture, texture, texture};
    }
    SetupViewport(width, height);
    ClearFrame(0);
}

int PixelsOf(std::uint8_t colour) {
    const FrameBuffer& buffer = renderContext.mainBuffer;
    const Projection& p = renderContext.projection;
    int count = 0;
    // Screen rows 0..maxY - 1 in either row order.
    for (int y = 0; y < p.maxY; ++y) {
        const int row = windowMode ? buffer.height - 1 - y : y;
        for (int x = 0; x < p.maxX; ++x) count += buffer.pixels[row * buffer.width + x] == colour;
    }
    return count;
}

int UncoveredPixels() {
    return PixelsOf(0);
}
