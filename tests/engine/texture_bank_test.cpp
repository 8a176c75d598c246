#include "engine/texture_bank.h"

#include "engine/blend_cache.h"
#include "engine/colour_tables.h"
#include "engine/pcx_writer.h"
#include "engine/render_context.h"
#include "platform/message_box.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Entry i is the grey (i, i, i); `inverted` makes it (255 - i, ...).
PalettePlanes greyPalette(bool inverted = false) {
    PalettePlanes p{};
    for (int i = 0; i < 256; ++i)
        p[i] = p[256 + i] = p[512 + i] = static_cast<std::uint8_t>(inverted ? 255 - i : i);
    return p;
}

std::vector<std::uint8_t> texturePixels() {
    std::vector<std::uint8_t> pixels(kTextureSize * kTextureSize);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
    return pixels;
}

std::vector<std::uint8_t> texturePcx(const PalettePlanes& palette) {
    return EncodePcx(kTextureSize, kTextureSize, texturePixels(), palette);
}

std::vector<std::int32_t> animate(int texture, int frames) {
    std::vector<std::int32_t> seen{renderContext.textures[texture].current};
    for (int i = 0; i < frames; ++i) {
        AnimateTextures();
        seen.push_back(renderContext.textures[texture].current);
    }
    return seen;
}

} // namespace

TEST(LoadBank, FirstImageGivesThePaletteLaterOnesAreRemappedAndTexturesAnimate) {
    TempDir dir;
    dir.write("TEX/Wall.pcx", texturePcx(greyPalette()));
    dir.write("TEX/floor.PCX", texturePcx(greyPalette(true)));
    dir.write("Bank.bnk", "#images\n  40 = tex\\wall.pcx\r\noops\n2=TEX/FLOOR.PCX\n"
                          "#textures\n5=7-7\n6 = 9-7\n7=7-9\n70000=1-2\n");
    ScopedCurrentDir cd(dir.path());
    renderContext.images[500] = std::make_unique<TextureImage>(); // from an earlier bank
    ASSERT_TRUE(LoadBank("Bank.bnk"));

    EXPECT_EQ(renderContext.palette, greyPalette());
    EXPECT_FALSE(renderContext.images[500]);
    ASSERT_TRUE(renderContext.images[40] && renderContext.images[2]);
    const auto pixels = texturePixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_EQ((*renderContext.images[40])[i], pixels[i]); // 255 kept: not remapped
        // Grey 255 - c lands on entry 255 - c; 0 stays 0, entry 0 and 255 are never chosen.
        const int c = pixels[i];
        ASSERT_EQ((*renderContext.images[2])[i], c == 0 ? 0 : std::max(255 - c, 1)) << c;
    }

    // The blend table was built and cached next to the bank.
    const auto pot = ReadBytes(dir.file("Bank.POT"));
    ASSERT_EQ(pot.size(), kBlendTableBytes);
    EXPECT_TRUE(std::equal(pot.begin(), pot.end(), renderContext.blendTable->begin()));

    EXPECT_EQ(renderContext.highestTexture, 7);
    EXPECT_EQ(animate(6, 6), (std::vector<std::int32_t>{9, 8, 7, 9, 8, 7, 9}));
    EXPECT_EQ(animate(7, 4), (std::vector<std::int32_t>{7, 8, 9, 7, 8}));
    EXPECT_EQ(renderContext.textures[5].current, 7);
}

TEST(LoadBank, CacheIsReadAsItIsRebuiltWhenDamagedAndOptionalWhenUnwritable) {
    TempDir dir;
    dir.write("IMG.PCX", texturePcx(greyPalette()));
    dir.write("Standard.bnk", "#IMAGES\n0=img.pcx\n");
    auto built = std::make_unique<BlendTable>();
    BuildBlendTable(greyPalette(), *built);
    const auto loads = [&](const auto& table) {
        ScopedCurrentDir cd(dir.path());
        renderContext.blendTable->fill(0);
        EXPECT_TRUE(LoadBank("Standard.bnk"));
        EXPECT_TRUE(std::equal(table.begin(), table.end(), renderContext.blendTable->begin()));
    };
    // Left from another palette: read unchanged, nothing compares it.
    std::vector<std::uint8_t> foreign(kBlendTableBytes);
    for (std::size_t i = 0; i < foreign.size(); ++i) foreign[i] = static_cast<std::uint8_t>(i >> 3);
    dir.write("STANDARD.POT", foreign);
    loads(foreign);
    // One byte short: rebuilt from the palette. Caches are written whole
    // (through a rename), so the file is not one of ours and stays as it is.
    foreign.pop_back();
    dir.write("STANDARD.POT", foreign);
    loads(*built);
    EXPECT_EQ(ReadBytes(dir.file("STANDARD.POT")), foreign);
    // Without a cache it is built and written whole.
    fs::remove(dir.path() / "STANDARD.POT");
    loads(*built);
    EXPECT_EQ(ReadBytes(dir.file("Standard.POT")),
              std::vector<std::uint8_t>(built->begin(), built->end()));

    // A folder named like the cache: nothing can be written under that name.
    fs::remove(dir.path() / "Standard.POT");
    fs::create_directory(dir.path() / "Standard.POT");
    loads(*built);
    // A read-only folder (only effective for a user without override rights).
    fs::remove(dir.path() / "Standard.POT");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const bool readOnly = !std::ofstream(dir.file("probe"));
    loads(*built);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(fs::exists(dir.path() / "Standard.POT"), !readOnly);
}

TEST(LoadBank, TheCacheNeverReplacesAFileThatIsNotOne) {
    EXPECT_EQ(PotFileName("TEXTURES/KELVANE.TXT"), "TEXTURES/KELVANE.POT");
    EXPECT_EQ(PotFileName("bank"), "bank.POT");
    // Without an extension the name is not cut: two such banks in one folder
    // keep two caches.
    EXPECT_EQ(PotFileName("TEX/bank1"), "TEX/bank1.POT");
    EXPECT_EQ(PotFileName("TEX.D/bank"), "TEX.D/bank.POT");
    // A bank whose own extension is the cache's has no cache.
    EXPECT_EQ(PotFileName("colours.pot"), "");

    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    dir.write("IMG.PCX", texturePcx(greyPalette()));
    const std::string text = "#IMAGES\n0=img.pcx\n#TEXTURES\n0=0-0\n";
    auto built = std::make_unique<BlendTable>();
    BuildBlendTable(greyPalette(), *built);
    const auto loadsBuilt = [&](const std::string& bank) {
        renderContext.blendTable->fill(0);
        renderContext.images[0].reset();
        EXPECT_TRUE(LoadBank(bank)) << bank;
        EXPECT_TRUE(renderContext.images[0]) << bank;
        EXPECT_TRUE(std::equal(built->begin(), built->end(), renderContext.blendTable->begin()))
            << bank;
    };
    // A bank named like a cache loads as often as asked and stays a bank.
    dir.write("COLOURS.POT", text);
    loadsBuilt("colours.pot");
    loadsBuilt("COLOURS.POT");
    EXPECT_EQ(ReadBytes(dir.file("COLOURS.POT")),
              std::vector<std::uint8_t>(text.begin(), text.end()));
    // Another file under the cache's name is not replaced.
    dir.write("Standard.bnk", text);
    dir.write("standard.pot", std::string("notes"));
    loadsBuilt("Standard.bnk");
    EXPECT_EQ(ReadBytes(dir.file("standard.pot")),
              (std::vector<std::uint8_t>{'n', 'o', 't', 'e', 's'}));
}

TEST(LoadBank, MissingOrUnusableFilesFailWithTheirMessage) {
    TempDir dir;
    dir.write("SMALL.PCX",
              EncodePcx(64, 128, std::vector<std::uint8_t>(64 * 128, 1), greyPalette()));
    auto cut = texturePcx(greyPalette());
    cut.erase(cut.begin() + 300, cut.end() - 769);
    dir.write("CUT.PCX", cut);
    dir.write("OK.PCX", texturePcx(greyPalette()));
    dir.write("missing.bnk", "#IMAGES\n0=OK.PCX\n1=wall.pcx\n");
    dir.write("small.bnk", "#IMAGES\n0=small.pcx\n");
    dir.write("cut.bnk", "#IMAGES\n0=cut.pcx\n");
    ExtendSparse(dir.write("huge.bnk", "#IMAGES\n0=OK.PCX\n"), (16u << 20) + 1);
    ScopedCurrentDir cd(dir.path());
    std::string shown;
    SetMessageBoxHandler([&shown](const std::string& text) { shown = text; });
    const std::pair<const char*, const char*> cases[] = {
        {"Nope.bnk", "VX3: The file Nope.bnk is missing"},
        {"missing.bnk", "VX3: The file WALL.PCX is missing"},
        {"small.bnk", "VX3: The image SMALL.PCX must be 128 x 128 pixels"},
        {"cut.bnk", "VX3: The image CUT.PCX is invalid: "},
        {"huge.bnk", "VX3: The file huge.bnk is larger than 16 MiB"}};
    for (const auto& [bank, text] : cases) {
        const Loaded<> loaded = LoadBank(bank);
        EXPECT_FALSE(loaded) << bank;
        EXPECT_EQ(loaded.error.substr(0, std::string(text).size()), text);
    }
    EXPECT_EQ(shown, ""); // the loader shows nothing itself
    SetMessageBoxHandler(nullptr);
}

TEST(LoadBank, NamesOutsideTheDataFolderReadAsMissing) {
    // The bank's name comes from a definition file and its colour table is
    // written beside it: from outside the data folder, nothing is read or made.
    TempDir dir;
    dir.write("OUT.PCX", texturePcx(greyPalette()));
    const std::string notes = dir.write("notes.txt", "any file at all");
    dir.write("data/up.bnk", "#IMAGES\n0=../out.pcx\n");
    ScopedCurrentDir cd(dir.path() / "data");
    EXPECT_EQ(LoadBank(notes).error, "VX3: The file " + notes + " is missing");
    EXPECT_EQ(LoadBank("..\\notes.txt").error, "VX3: The file ..\\notes.txt is missing");
    EXPECT_EQ(LoadBank("up.bnk").error, "VX3: The file ../OUT.PCX is missing");
    EXPECT_FALSE(fs::exists(dir.path() / "notes.POT"));
}
