#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "datakit.h"
#include "engine/render_context.h"
#include "engine/texture_bank.h"
#include "paint_palette.h"
#include "textures_turned.h"
#include "visuals_support.h"

namespace {

constexpr int kSide = kTextureSize;

// Mean brightness step between the given pixel pairs of one image.
struct Steps {
    long long sum = 0;
    int count = 0;
    void Add(const PalettePlanes& palette, int a, int b) {
        sum += std::abs(Luma(palette, a) - Luma(palette, b));
        ++count;
    }
    long long Mean() const { return count ? sum / count : 0; }
};

// Every texture number the bank defines: 0..30 and the turned copies.
std::vector<int> BankNumbers() {
    std::vector<int> numbers;
    for (int n = 0; n <= 30; ++n) numbers.push_back(n);
    for (const int n : DirectionalTextures()) {
        numbers.push_back(kQuarterTurnedOffset + n);
        numbers.push_back(kHalfTurnedOffset + n);
    }
    return numbers;
}

const TextureImage& ImageOf(int texture, int frame = 0) {
    return *renderContext
                .images[static_cast<std::size_t>(renderContext.textures[texture].first + frame)];
}

class GeneratedBank : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ScopedCurrentDir cd(GeneratedVisuals().path());
        loaded = static_cast<bool>(LoadBank("TEXTURES/KELVANE.TXT"));
    }
    static bool loaded;
};
bool GeneratedBank::loaded = false;

} // namespace

TEST(GamePalette, RampsRiseFromNearBlackAndEveryUsableEntryIsItsOwnColour) {
    const PalettePlanes& palette = paint::GamePalette();
    EXPECT_EQ(Luma(palette, 0), 0);
    for (int ramp = 0; ramp < 16; ++ramp) {
        const int low = paint::LowestLevel(ramp), high = paint::HighestLevel(ramp);
        EXPECT_LT(Luma(palette, ramp * 16 + low), 40000) << "ramp " << ramp;
        EXPECT_GT(Luma(palette, ramp * 16 + high), 150000) << "ramp " << ramp;
        for (int level = low; level < high; ++level)
            EXPECT_LT(Luma(palette, ramp * 16 + level), Luma(palette, ramp * 16 + level + 1))
                << "ramp " << ramp << " level " << level;
    }
    // Distinct colours make loading an identity remap (ties go to the
    // highest index, which would move pixels to another ramp).
    std::set<int> colours;
    for (int i = 1; i <= 254; ++i)
        colours.insert(palette[i] << 16 | palette[256 + i] << 8 | palette[512 + i]);
    EXPECT_EQ(colours.size(), 254u);
    EXPECT_EQ(paint::Colour(paint::kGrey, 0), 1) << "ramp 0 never yields the key";
    EXPECT_EQ(paint::Colour(paint::kLava, 15), 254) << "ramp 15 never yields entry 255";
}

TEST_F(GeneratedBank, LoadsWithTheGamePaletteAndAllTexturesAndItsImagesUnchanged) {
    ASSERT_TRUE(loaded);
    EXPECT_EQ(renderContext.palette, paint::GamePalette());
    EXPECT_EQ(renderContext.highestTexture, kHalfTurnedOffset + DirectionalTextures().back());
    const std::set<int> animated{21, 22, 25};
    for (const int n : BankNumbers()) {
        const TextureEntry& t = renderContext.textures[n];
        const int frames = n == 25 ? 4 : animated.count(n) ? 8 : 1;
        EXPECT_EQ(t.last - t.first + 1, frames) << "texture " << n;
        for (int i = t.first; i <= t.last; ++i)
            EXPECT_TRUE(renderContext.images[i]) << "image " << i;
    }
    // What the bank holds is exactly what was painted.
    const PcxImage lava = ReadGenerated("TEXTURES/LAVA3.PCX");
    ASSERT_EQ(lava.pixels.size(), ImageOf(21, 2).size());
    EXPECT_TRUE(std::equal(lava.pixels.begin(), lava.pixels.end(), ImageOf(21, 2).begin()));
}

TEST_F(GeneratedBank, OnlyGlassAndLadderAreSeeThroughAndNothingUsesEntry255) {
    ASSERT_TRUE(loaded);
    for (const int n : BankNumbers()) {
        const TextureEntry& t = renderContext.textures[n];
        for (int i = t.first; i <= t.last; ++i) {
            const TextureImage& image = *renderContext.images[i];
            const auto holes = std::count(image.begin(), image.end(), 0);
            if (n == 9 || n == 10) {
                EXPECT_GT(holes, kSide * kSide / 3) << "texture " << n;
            } else {
                EXPECT_EQ(holes, 0) << "texture " << n;
            }
            EXPECT_EQ(std::count(image.begin(), image.end(), 255), 0) << "texture " << n;
        }
    }
}

TEST_F(GeneratedBank, ContinuousSurfacesTileWithoutSeams) {
    ASSERT_TRUE(loaded);
    const PalettePlanes& palette = renderContext.palette;
    // Framed faces (crate, door, plates, emblems) meet their neighbours at
    // their frames by design; these surfaces must run on across cells.
    struct Surface {
        int texture;
        bool vertical; // also tiles top to bottom
    };
    const Surface surfaces[] = {{0, true},  {1, true},  {2, true},  {3, true},   {4, true},
                                {5, false}, {6, true},  {19, true}, {20, true},  {21, true},
                                {22, true}, {23, true}, {24, true}, {26, false}, {27, true}};
    for (const Surface& s : surfaces) {
        const TextureEntry& t = renderContext.textures[s.texture];
        for (int i = t.first; i <= t.last; ++i) {
            const TextureImage& im = *renderContext.images[i];
            // The step from the last column to the first (and last row to the
            // first) must be no rougher than the roughest step inside: mortar
            // meeting brick is fine, a break in the noise is not.
            long long roughestAcross = 0, roughestDown = 0;
            Steps acrossEdge, downEdge;
            for (int x = 0; x + 1 < kSide; ++x) {
                Steps step;
                for (int y = 0; y < kSide; ++y)
                    step.Add(palette, im[y * kSide + x], im[y * kSide + x + 1]);
                roughestAcross = std::max(roughestAcross, step.Mean());
            }
            for (int y = 0; y + 1 < kSide; ++y) {
                Steps step;
                for (int x = 0; x < kSide; ++x)
                    step.Add(palette, im[y * kSide + x], im[(y + 1) * kSide + x]);
                roughestDown = std::max(roughestDown, step.Mean());
            }
            for (int i = 0; i < kSide; ++i) {
                acrossEdge.Add(palette, im[i * kSide + kSide - 1], im[i * kSide]);
                downEdge.Add(palette, im[(kSide - 1) * kSide + i], im[i]);
            }
            EXPECT_LE(acrossEdge.Mean(), roughestAcross + 1000) << "texture " << s.texture;
            if (s.vertical) {
                EXPECT_LE(downEdge.Mean(), roughestDown + 1000) << "texture " << s.texture;
            }
        }
    }
}

TEST_F(GeneratedBank, AnimationsCycleSmoothlyIncludingTheWrapToTheFirstImage) {
    ASSERT_TRUE(loaded);
    const PalettePlanes& palette = renderContext.palette;
    for (const int n : {21, 22, 25}) {
        const TextureEntry& t = renderContext.textures[n];
        const int frames = t.last - t.first + 1;
        std::vector<long long> changes;
        for (int f = 0; f < frames; ++f) {
            const TextureImage& a = ImageOf(n, f);
            const TextureImage& b = ImageOf(n, (f + 1) % frames);
            Steps step;
            for (int i = 0; i < kSide * kSide; ++i) step.Add(palette, a[i], b[i]);
            changes.push_back(step.Mean());
        }
        const auto [least, most] = std::minmax_element(changes.begin(), changes.end());
        EXPECT_GT(*least, 0) << "texture " << n << " stands still between two images";
        EXPECT_LE(*most, *least * 2) << "texture " << n << " jumps somewhere in its cycle";
    }
}

TEST(GenerateTextures, WritesTheSameBytesEveryRun) {
    TempDir again;
    GenerateTextures(DataKit{again.path(), again.path()});
    int files = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(again.path() / "TEXTURES")) {
        const std::string relative = "TEXTURES/" + entry.path().filename().string();
        EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes(GeneratedVisuals().file(relative)))
            << relative;
        ++files;
    }
    // The images, the turned copies and the bank list.
    EXPECT_EQ(files, 48 + 2 * static_cast<int>(DirectionalTextures().size()) + 1);
}
