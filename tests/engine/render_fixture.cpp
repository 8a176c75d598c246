#include "engine/render_fixture.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/palette.h"
#include "engine/pipeline.h"

namespace {

constexpr std::array<std::array<int, 3>, 16> kHues = {{
    {255, 255, 255},
    {255, 40, 40},
    {40, 255, 40},
    {60, 60, 255},
    {255, 255, 40},
    {40, 255, 255},
    {255, 40, 255},
    {255, 140, 20},
    {140, 70, 20},
    {120, 200, 120},
    {150, 150, 255},
    {255, 150, 150},
    {90, 90, 90},
    {20, 120, 60},
    {120, 20, 120},
    {200, 180, 140},
}};

PalettePlanes MakeTestPalette() {
    PalettePlanes palette{};
    for (int hue = 0; hue < 16; ++hue) {
        for (int level = 0; level < 16; ++level) {
            const int i = TestColour(hue, level);
            for (int ch = 0; ch < 3; ++ch)
                palette[ch * 256 + i] =
                    static_cast<std::uint8_t>(kHues[hue][ch] * (level + 1) / 16);
        }
    }
    palette[0] = palette[256] = palette[512] = 0;
    return palette;
}

// Built once per test program; the planes on first use.
struct Tables {
    PalettePlanes palette = MakeTestPalette();
    ShadeTable shades{};
    BlendTable blends{};
    std::array<bool, kBlendPlanes> planeBuilt{};

    Tables() {
        for (int s = 0; s < 256; ++s) {
            shades[s * 256] = 0;
            for (int c = 1; c < 256; ++c) {
                shades[s * 256 + c] = static_cast<std::uint8_t>(
                    NearestPaletteEntry(palette, s * palette[c] / 256, s * palette[256 + c] / 256,
                                        s * palette[512 + c] / 256, 1, 254));
            }
        }
    }

    void BuildPlane(int e) {
        if (planeBuilt[e]) return;
        planeBuilt[e] = true;
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                int rgb[3];
                for (int ch = 0; ch < 3; ++ch) {
                    const int ca = palette[ch * 256 + a], cb = palette[ch * 256 + b];
                    rgb[ch] = (ca * (16 - e) + cb * e + 8) / 16;
                }
                blends[e * 65536 + a * 256 + b] = static_cast<std::uint8_t>(
                    NearestPaletteEntry(palette, rgb[0], rgb[1], rgb[2], 0, 254));
            }
        }
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

void SetupTestView(int width, int height, std::initializer_list<int> blendLevels) {
    Tables& tables = TestTables();
    for (int e : blendLevels) tables.BuildPlane(e);
    renderContext.stereoscopic = 0;
    renderContext.palette = tables.palette;
    *renderContext.shadeTable = tables.shades;
    *renderContext.blendTable = tables.blends;
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
    TextureImage plain3{}, plain4{};
    plain3.fill(static_cast<std::uint8_t>(TestColour(3, 12)));
    plain4.fill(static_cast<std::uint8_t>(TestColour(4, 12)));
    SetImage(1, grid);
    SetImage(2, ring);
    SetImage(3, plain3);
    SetImage(4, plain4);
}

std::string BufferBytes(const FrameBuffer& buffer) {
    const std::size_t count = static_cast<std::size_t>(buffer.width) * buffer.height;
    return std::string(buffer.pixels.begin(), buffer.pixels.begin() + count);
}

::testing::AssertionResult MatchesReference(const std::string& name) {
    namespace fs = std::filesystem;
    const FrameBuffer& buffer = renderContext.mainBuffer;
    const std::string actual = BufferBytes(buffer);

    // The picture in screen order, through the palette, to look at.
    const fs::path viewDir = fs::path(KELVANE_BINARY_DIR) / "render";
    fs::create_directories(viewDir);
    std::ofstream view(viewDir / (name + ".ppm"), std::ios::binary);
    view << "P6\n" << buffer.width << " " << buffer.height << "\n255\n";
    for (int y = 0; y < buffer.height; ++y) {
        const int row = windowMode ? buffer.height - 1 - y : y;
        for (int x = 0; x < buffer.width; ++x) {
            const auto c = static_cast<std::uint8_t>(actual[row * buffer.width + x]);
            for (int ch = 0; ch < 3; ++ch)
                view.put(static_cast<char>(renderContext.palette[ch * 256 + c]));
        }
    }

    const fs::path reference = fs::path(KELVANE_TEST_FIXTURES) / "render" / (name + ".raw");
    const char* update = std::getenv("KELVANE_UPDATE_RENDER");
    if (update && std::string(update) == "1") {
        std::ofstream out(reference, std::ios::binary);
        out << actual;
    }
    std::ifstream in(reference, std::ios::binary);
    if (!in) return ::testing::AssertionFailure() << "no reference picture " << reference;
    const std::string expected((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure()
               << name << ": size " << actual.size() << ", reference " << expected.size();
    std::size_t differing = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) differing += actual[i] != expected[i];
    if (differing != 0)
        return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ";
    return ::testing::AssertionSuccess();
}
