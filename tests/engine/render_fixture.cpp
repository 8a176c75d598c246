#include "engine/render_fixture.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "draw/pipeline.h"
#include "engine/colour_tables.h"
#include "support/test_support.h"

namespace {

// Red, green, blue of the 16 hues at full brightness.
constexpr int kHues[16 * 3] = {255, 255, 255, 255, 40,  40,  40,  255, 40,  60,  60,  255,
                               255, 255, 40,  40,  255, 255, 255, 40,  255, 255, 140, 20,
                               140, 70,  20,  120, 200, 120, 150, 150, 255, 255, 150, 150,
                               90,  90,  90,  20,  120, 60,  120, 20,  120, 200, 180, 140};

PalettePlanes MakeTestPalette() {
    PalettePlanes palette{};
    for (int hue = 0; hue < 16; ++hue) {
        for (int level = 0; level < 16; ++level) {
            const int i = TestColour(hue, level);
            for (int ch = 0; ch < 3; ++ch)
                palette[ch * 256 + i] =
                    static_cast<std::uint8_t>(kHues[hue * 3 + ch] * (level + 1) / 16);
        }
    }
    palette[0] = palette[256] = palette[512] = 0;
    return palette;
}

// Built once per test program.
struct Tables {
    PalettePlanes palette = MakeTestPalette();
    ShadeTable shades{};
    std::unique_ptr<BlendTable> blends = std::make_unique<BlendTable>();
    Tables() {
        BuildShadeTableFor(palette, 0, 0, 0, shades);
        BuildBlendTable(palette, *blends);
    }
};

Tables& TestTables() {
    static Tables tables;
    return tables;
}

void SetImage(int slot, const TextureImage& image) {
    renderContext.images[slot] = std::make_unique<TextureImage>(image);
    renderContext.textures[slot] = TextureEntry{slot, slot, slot};
}

} // namespace

void SetupTestView(int width, int height) {
    const Tables& tables = TestTables();
    renderContext.stereoscopic = 0;
    renderContext.palette = tables.palette;
    *renderContext.shadeTable = tables.shades;
    *renderContext.blendTable = *tables.blends;
    for (int slot = 0; slot < 8; ++slot) {
        renderContext.images[slot].reset();
        renderContext.textures[slot] = TextureEntry{};
    }
    SetupViewport(width, height);
    SetCamera(0, 0, 0, 0, 0, 0);
}

void InstallTestTextures() {
    TextureImage grid{};
    TextureImage ring{};
    for (int v = 0; v < 128; ++v) {
        for (int u = 0; u < 128; ++u) {
            const int quadrant = (v / 64) * 2 + (u / 64); // hues 1, 2, 3, 4
            const bool line = u % 16 == 0 || v % 16 == 0;
            grid[v * 128 + u] =
                static_cast<std::uint8_t>(TestColour(quadrant + 1, line ? 4 : 8 + (u % 64) / 8));
            const int du = u - 64, dv = v - 64;
            const int r2 = du * du + dv * dv;
            ring[v * 128 + u] = r2 < 24 * 24 || r2 > 60 * 60
                                    ? 0
                                    : static_cast<std::uint8_t>(TestColour(7, 6 + r2 / 400));
        }
    }
    SetImage(1, grid);
    SetImage(2, ring);
    for (int hue : {3, 4}) {
        TextureImage plain{};
        plain.fill(static_cast<std::uint8_t>(TestColour(hue, 12)));
        SetImage(hue, plain);
    }
}

::testing::AssertionResult MatchesReference(const std::string& name) {
    namespace fs = std::filesystem;
    const FrameBuffer& buffer = renderContext.mainBuffer;
    const std::vector<std::uint8_t> actual(
        buffer.pixels.begin(), buffer.pixels.begin() + std::size_t(buffer.width) * buffer.height);

    // The picture in screen order, through the palette, to look at.
    const fs::path viewDir = fs::path(KELVANE_BINARY_DIR) / "render";
    fs::create_directories(viewDir);
    std::ofstream view(viewDir / (name + ".ppm"), std::ios::binary);
    view << "P6\n" << buffer.width << " " << buffer.height << "\n255\n";
    for (int y = 0; y < buffer.height; ++y) {
        const int row = windowMode ? buffer.height - 1 - y : y;
        for (int x = 0; x < buffer.width; ++x)
            for (int ch = 0; ch < 3; ++ch)
                view.put(static_cast<char>(
                    renderContext.palette[ch * 256 + actual[row * buffer.width + x]]));
    }

    const std::string reference =
        (fs::path(KELVANE_TEST_FIXTURES) / "render" / (name + ".raw")).string();
    const char* update = std::getenv("KELVANE_UPDATE_RENDER");
    if (update && std::string(update) == "1")
        std::ofstream(reference, std::ios::binary)
            .write(reinterpret_cast<const char*>(actual.data()), std::streamsize(actual.size()));
    const std::vector<std::uint8_t> expected = ReadBytes(reference);
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure()
               << name << ": reference of " << expected.size() << " bytes for " << actual.size();
    std::size_t differing = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) differing += actual[i] != expected[i];
    if (differing != 0)
        return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ";
    return ::testing::AssertionSuccess();
}
