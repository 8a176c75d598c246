#include "engine/texture_bank.h"

#include "engine/blend_cache.h"
#include "engine/colour_tables.h"
#include "engine/pcx_fixture.h"
#include "engine/render_context.h"
#include "platform/message_box.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A palette of grey steps: entry i is (i, i, i).
PalettePlanes greyPalette() {
    PalettePlanes p{};
    for (int i = 0; i < 256; ++i) p[i] = p[256 + i] = p[512 + i] = static_cast<std::uint8_t>(i);
    return p;
}

std::vector<std::uint8_t> texturePixels(std::uint8_t seed) {
    std::vector<std::uint8_t> pixels(kTextureSize * kTextureSize);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i % 300 < 40 ? seed : i * 7 + seed);
    return pixels;
}

std::vector<std::uint8_t> texturePcx(std::uint8_t seed, const PalettePlanes& palette) {
    return MakePcx(kTextureSize, kTextureSize, texturePixels(seed), palette);
}

// Collects message boxes for the length of a test.
struct CapturedMessages {
    std::vector<std::string> texts;
    CapturedMessages() {
        SetMessageBoxHandler([this](const std::string& text) { texts.push_back(text); });
    }
    ~CapturedMessages() { SetMessageBoxHandler(nullptr); }
};

std::vector<std::int32_t> animate(int texture, int frames) {
    std::vector<std::int32_t> seen{renderContext.textures[texture].current};
    for (int i = 0; i < frames; ++i) {
        AnimateTextures();
        seen.push_back(renderContext.textures[texture].current);
    }
    return seen;
}

} // namespace

TEST(LoadBank, FirstImageGivesThePaletteAndLaterImagesAreRemapped) {
    TempDir dir;
    const PalettePlanes game = greyPalette();
    // The second image's colour c is the grey 255 - c: it must land on the
    // game's entry 255 - c, except that 0 stays 0 and 255 is never chosen.
    PalettePlanes inverted{};
    for (int i = 0; i < 256; ++i)
        inverted[i] = inverted[256 + i] = inverted[512 + i] = static_cast<std::uint8_t>(255 - i);
    dir.write("TEX/Wall.pcx", texturePcx(255, game));
    dir.write("TEX/floor.PCX", texturePcx(3, inverted));
    dir.write("Bank.bnk", "Palette comes from the first image\n"
                          "#images\n"
                          "  40 = tex\\wall.pcx\r\n"
                          "oops\n"
                          "2=TEX/FLOOR.PCX\n"
                          "#textures\n"
                          "1 = 40-40\n"
                          "9=2-40\n"
                          "70000=1-2\n");
    ScopedCurrentDir cd(dir.path());
    renderContext.images[500] = std::make_unique<TextureImage>(); // from an earlier bank
    renderContext.textures[300] = {1, 2, 1};
    ASSERT_TRUE(LoadBank("Bank.bnk"));

    EXPECT_EQ(renderContext.palette, game);
    EXPECT_FALSE(renderContext.images[500]);
    EXPECT_EQ(renderContext.textures[300].last, 0);
    ASSERT_TRUE(renderContext.images[40]);
    const auto wall = texturePixels(255);
    EXPECT_TRUE(std::equal(wall.begin(), wall.end(), renderContext.images[40]->begin()));
    ASSERT_TRUE(renderContext.images[2]);
    const auto floor = texturePixels(3);
    for (std::size_t i = 0; i < floor.size(); ++i) {
        const int want = floor[i] == 0 ? 0 : std::max(255 - floor[i], 1);
        ASSERT_EQ((*renderContext.images[2])[i], want) << i;
    }
    EXPECT_EQ(renderContext.highestTexture, 9);
    EXPECT_EQ(renderContext.textures[9].first, 2);
    EXPECT_EQ(renderContext.textures[9].current, 2);

    // The blend table was built and cached next to the bank.
    const auto pot = ReadBytes(dir.file("Bank.POT"));
    ASSERT_EQ(pot.size(), kBlendTableBytes);
    EXPECT_TRUE(std::equal(pot.begin(), pot.end(), renderContext.blendTable->begin()));
    EXPECT_EQ((*renderContext.blendTable)[8 * 65536 + 10 * 256 + 30], 20);
}

TEST(LoadBank, TexturesRunStillBackwardsAndForwards) {
    TempDir dir;
    dir.write("A.BNK", "#IMAGES\n#TEXTURES\n5=7-7\n6=9-7\n7=7-9\n");
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(LoadBank("a.bnk"));
    EXPECT_EQ(renderContext.highestTexture, 7);
    // All textures step together; each sequence starts at the first image.
    EXPECT_EQ(animate(6, 6), (std::vector<std::int32_t>{9, 8, 7, 9, 8, 7, 9}));
    EXPECT_EQ(renderContext.textures[5].current, 7);
    EXPECT_EQ(renderContext.textures[7].current, 7);
    EXPECT_EQ(animate(7, 4), (std::vector<std::int32_t>{7, 8, 9, 7, 8}));
    EXPECT_EQ(renderContext.textures[5].current, 7);
}

TEST(LoadBank, CacheFromAnotherPaletteIsReadUnchanged) {
    TempDir dir;
    dir.write("IMG.PCX", texturePcx(1, greyPalette()));
    dir.write("Standard.bnk", "#IMAGES\n0=img.pcx\n");
    std::vector<std::uint8_t> foreign(kBlendTableBytes);
    for (std::size_t i = 0; i < foreign.size(); ++i)
        foreign[i] = static_cast<std::uint8_t>(i * 31 >> 3);
    dir.write("STANDARD.POT", foreign);
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(LoadBank("Standard.bnk"));
    EXPECT_TRUE(std::equal(foreign.begin(), foreign.end(), renderContext.blendTable->begin()));
    EXPECT_EQ(ReadBytes(dir.file("STANDARD.POT")), foreign);
}

TEST(LoadBank, CacheOfTheWrongSizeIsRebuiltAndRewritten) {
    TempDir dir;
    dir.write("IMG.PCX", texturePcx(1, greyPalette()));
    dir.write("b.bnk", "#IMAGES\n0=IMG.PCX\n");
    dir.write("b.POT", std::vector<std::uint8_t>(kBlendTableBytes - 1, 0x55));
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(LoadBank("b.bnk"));
    auto expected = std::make_unique<BlendTable>();
    BuildBlendTable(greyPalette(), *expected);
    EXPECT_EQ(*renderContext.blendTable, *expected);
    const auto pot = ReadBytes(dir.file("b.POT"));
    EXPECT_TRUE(std::equal(pot.begin(), pot.end(), expected->begin(), expected->end()));
}

TEST(LoadBank, UnwritableCacheLeavesTheTableInMemoryAndLoadingGoesOn) {
    TempDir dir;
    dir.write("IMG.PCX", texturePcx(1, greyPalette()));
    dir.write("b.bnk", "#IMAGES\n0=IMG.PCX\n");
    auto expected = std::make_unique<BlendTable>();
    BuildBlendTable(greyPalette(), *expected);

    // A folder named like the cache: no file can be written under that name.
    fs::create_directory(dir.path() / "b.POT");
    {
        ScopedCurrentDir cd(dir.path());
        renderContext.blendTable->fill(0);
        ASSERT_TRUE(LoadBank("b.bnk"));
        EXPECT_EQ(*renderContext.blendTable, *expected);
    }

    // A read-only folder (only effective for a user without override rights).
    fs::remove(dir.path() / "b.POT");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const bool readOnly = !std::ofstream(dir.file("probe"));
    {
        ScopedCurrentDir cd(dir.path());
        renderContext.blendTable->fill(0);
        EXPECT_TRUE(LoadBank("b.bnk"));
        EXPECT_EQ(*renderContext.blendTable, *expected);
    }
    fs::permissions(dir.path(), fs::perms::owner_all);
    if (readOnly) {
        EXPECT_FALSE(fs::exists(dir.path() / "b.POT"));
    }
}

TEST(LoadBank, MissingOrUnusableFilesFailWithTheirMessage) {
    TempDir dir;
    PalettePlanes grey = greyPalette();
    dir.write("SMALL.PCX", MakePcx(64, 128, std::vector<std::uint8_t>(64 * 128, 1), grey));
    auto cut = texturePcx(1, grey);
    cut.resize(128 + 100 + 769);
    dir.write("CUT.PCX", cut);
    dir.write("OK.PCX", texturePcx(1, grey));
    dir.write("missing.bnk", "#IMAGES\n0=OK.PCX\n1=wall.pcx\n");
    dir.write("small.bnk", "#IMAGES\n0=small.pcx\n");
    dir.write("cut.bnk", "#IMAGES\n0=cut.pcx\n");
    ScopedCurrentDir cd(dir.path());
    CapturedMessages messages;
    EXPECT_FALSE(LoadBank("Nope.bnk"));
    EXPECT_FALSE(LoadBank("missing.bnk"));
    EXPECT_FALSE(LoadBank("small.bnk"));
    EXPECT_FALSE(LoadBank("cut.bnk"));
    EXPECT_EQ(messages.texts, (std::vector<std::string>{
                                  "VX3: The file Nope.bnk is missing",
                                  "VX3: The file WALL.PCX is missing",
                                  "VX3: The image SMALL.PCX must be 128 x 128 pixels",
                                  "VX3: The image CUT.PCX is truncated",
                              }));
}
