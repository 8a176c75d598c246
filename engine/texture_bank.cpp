#include "engine/texture_bank.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "engine/bank_file.h"
#include "engine/blend_cache.h"
#include "engine/nearest_colour.h"
#include "engine/pcx.h"
#include "engine/render_context.h"
#include "platform/files.h"

namespace {

// Colour map of an image onto the game palette: 0 stays 0 (transparent),
// every other colour goes to the nearest of entries 1..254.
std::array<std::uint8_t, 256> remapTable(const PalettePlanes& imagePalette,
                                         const NearestColourIndex& game) {
    std::array<std::uint8_t, 256> map{};
    for (int c = 1; c < 256; ++c) {
        map[c] = static_cast<std::uint8_t>(
            FindNearestColour(game, imagePalette[c], imagePalette[256 + c], imagePalette[512 + c]));
    }
    return map;
}

Loaded<> loadImages(const std::vector<BankImageLine>& lines) {
    RenderContext& rc = renderContext;
    NearestColourIndex game;
    bool first = true;
    for (const BankImageLine& line : lines) {
        // The bank names its images: they must lie inside the data folder.
        if (!IsDataFileName(line.file) || !FileExists(line.file))
            return LoadFailure{"VX3: The file " + line.file + " is missing"};
        Loaded<PcxImage> loaded = DecodePcxFromFile(line.file);
        if (!loaded)
            return LoadFailure{"VX3: The image " + line.file + " is invalid: " + loaded.error};
        const PcxImage& image = *loaded;
        // The tables, the rasterizer and the scene all take 128 x 128.
        if (image.width != kTextureSize || image.height != kTextureSize) {
            return LoadFailure{"VX3: The image " + line.file + " must be " +
                               std::to_string(kTextureSize) + " x " + std::to_string(kTextureSize) +
                               " pixels"};
        }
        auto pixels = std::make_unique<TextureImage>();
        if (first) {
            // The first image gives the game palette and is kept as it is.
            rc.palette = image.palette;
            BuildNearestColourIndex(rc.palette, 1, 254, game);
            std::copy(image.pixels.begin(), image.pixels.end(), pixels->begin());
            first = false;
        } else {
            const auto map = remapTable(image.palette, game);
            std::transform(image.pixels.begin(), image.pixels.end(), pixels->begin(),
                           [&map](std::uint8_t p) { return map[p]; });
        }
        rc.images[line.index] = std::move(pixels);
    }
    return LoadedDone();
}

} // namespace

Loaded<> LoadBank(const std::string& bankFile) {
    RenderContext& rc = renderContext;
    // The bank's name comes from a definition file, and its colour table is
    // written beside it: both must stay inside the data folder.
    const SmallFile text = IsDataFileName(bankFile) ? ReadSmallFile(bankFile) : SmallFile{};
    if (text.status == SmallFileStatus::Missing)
        return LoadFailure{"VX3: The file " + bankFile + " is missing"};
    if (text.status == SmallFileStatus::TooLarge)
        return LoadFailure{TooLargeText("VX3: The file " + bankFile)};

    for (auto& image : rc.images) image.reset();
    const BankListing listing = ParseBankText(
        std::string_view(reinterpret_cast<const char*>(text.bytes.data()), text.bytes.size()));
    if (Loaded<> images = loadImages(listing.images); !images) return images;

    // Entries the bank does not name are cleared rather than left pointing
    // into the previous bank's images.
    std::fill(rc.textures.begin(), rc.textures.end(), TextureEntry{});
    rc.highestTexture = 0;
    for (const BankTextureLine& line : listing.textures) {
        rc.textures[line.index] = {line.first, line.last, line.first};
        rc.highestTexture = std::max(rc.highestTexture, line.index);
    }

    LoadOrBuildBlendTable(PotFileName(bankFile), rc.palette, *rc.blendTable);
    return LoadedDone();
}

void AnimateTextures() {
    RenderContext& rc = renderContext;
    const int highest = std::min<int>(rc.highestTexture, static_cast<int>(rc.textures.size()) - 1);
    for (int i = 0; i <= highest; ++i) {
        TextureEntry& t = rc.textures[i];
        if (t.first < t.last) {
            if (++t.current > t.last) t.current = t.first;
        } else if (t.first > t.last) {
            if (--t.current < t.last) t.current = t.first;
        } else {
            t.current = t.first;
        }
    }
}
