#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "datakit.h"
#include "engine/pictures.h"
#include "engine/render_context.h"
#include "paint_palette.h"
#include "visuals_support.h"

namespace {

struct Sheet {
    const char* file;
    int width, height, stride, cellWidth;
};
constexpr Sheet kSmall{"INTERF/SMALFONT.PCX", 400, 7, 4, 3};
constexpr Sheet kBig{"INTERF/BIGFONT.PCX", 900, 15, 9, 8};

std::string GlyphCell(const PcxImage& sheet, const Sheet& s, int glyph) {
    std::string cell;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.cellWidth; ++x)
            cell += static_cast<char>(
                sheet.pixels[static_cast<std::size_t>(y * sheet.width + glyph * s.stride + x)]);
    return cell;
}

bool IsGold(int index) {
    return index / 16 == paint::kGold && index % 16 >= 9;
}

} // namespace

TEST(Interface, EveryPictureLoadsIntoItsSlotUnchanged) {
    renderContext.palette = paint::GamePalette();
    ScopedCurrentDir cd(GeneratedVisuals().path());
    const char* files[] = {"TKELV", "TITLE",   "OPTION",  "SELECT",   "BARRE",
                           "RADAR", "RADARP1", "RADARP2", "SMALFONT", "BIGFONT"};
    for (const char* name : files) {
        const std::string file = std::string("INTERF/") + name + ".PCX";
        ASSERT_TRUE(LoadPicture(7, file)) << file;
        EXPECT_EQ(pictureSlots[7].pixels, ReadGenerated(file).pixels) << file;
        EXPECT_EQ(std::count(pictureSlots[7].pixels.begin(), pictureSlots[7].pixels.end(), 255), 0)
            << file;
    }
}

TEST(Interface, FontSheetsHoldOneDistinctGlyphPerCodeInsideItsCell) {
    for (const Sheet& s : {kSmall, kBig}) {
        const PcxImage sheet = ReadGenerated(s.file);
        ASSERT_EQ(sheet.width, s.width) << s.file;
        ASSERT_EQ(sheet.height, s.height) << s.file;
        std::set<std::string> seen;
        for (int glyph = 0; glyph < 100; ++glyph) {
            const std::string cell = GlyphCell(sheet, s, glyph);
            const bool blank = std::all_of(cell.begin(), cell.end(), [](char c) { return c == 0; });
            EXPECT_EQ(blank, glyph == 0) << s.file << " code " << glyph + 32;
            EXPECT_TRUE(seen.insert(cell).second)
                << s.file << " code " << glyph + 32 << " repeats a glyph";
            // Nothing may fall between the cells the game cuts out.
            for (int x = glyph * s.stride + s.cellWidth;
                 x < std::min((glyph + 1) * s.stride, s.width); ++x)
                for (int y = 0; y < s.height; ++y)
                    EXPECT_EQ(sheet.pixels[static_cast<std::size_t>(y * s.width + x)], 0)
                        << s.file << " spills beside code " << glyph + 32;
        }
    }
}

TEST(Interface, MenuEntriesSitWhereTheCursorLands) {
    const PcxImage menu = ReadGenerated("INTERF/OPTION.PCX");
    const int w = menu.width, h = menu.height;
    auto bandOf = [&](int row) {
        for (int item = 0; item < 7; ++item) {
            const double top = (0.366 + 0.072 * item) * h;
            if (row >= top && row < top + 0.0708 * h) return item;
        }
        return -1;
    };
    std::set<int> itemsWithText;
    for (int y = static_cast<int>(0.36 * h); y < h; ++y)
        for (int x = static_cast<int>(0.275 * w); x < static_cast<int>(0.85 * w); ++x)
            if (IsGold(menu.pixels[static_cast<std::size_t>(y * w + x)])) {
                EXPECT_NE(bandOf(y), -1)
                    << "entry text at row " << y << " lies between the cursor's places";
                itemsWithText.insert(bandOf(y));
            }
    EXPECT_EQ(itemsWithText.size(), 7u);
    // The scene shows around the panel.
    EXPECT_EQ(menu.pixels[0], 0);
    EXPECT_EQ(menu.pixels[static_cast<std::size_t>(h / 2 * w + 4)], 0);
}

TEST(Interface, HudNumbersFallOnDarkWells) {
    const PcxImage bar = ReadGenerated("INTERF/BARRE.PCX");
    const PalettePlanes& palette = paint::GamePalette();
    // Small-font numbers at top 0.962, 7/240 high, 0.0125 a character.
    const int top = static_cast<int>((0.962 - 0.945) / 0.055 * bar.height);
    const int bottom = static_cast<int>((0.962 + 7.0 / 240 - 0.945) / 0.055 * bar.height);
    const std::pair<double, int> fields[] = {{0.13, 5}, {0.625, 2}, {0.787, 2}, {0.8937, 7}};
    for (const auto& [left, chars] : fields) {
        const int x0 = static_cast<int>(left * bar.width);
        const int x1 = static_cast<int>((left + chars * 0.0125) * bar.width);
        for (int y = top; y < bottom; ++y)
            for (int x = x0; x < x1; ++x) {
                const int index = bar.pixels[static_cast<std::size_t>(y * bar.width + x)];
                EXPECT_LT(Luma(palette, index), 60000)
                    << "field at " << left << ": pixel " << x << "," << y;
            }
    }
    EXPECT_EQ(std::count(bar.pixels.begin(), bar.pixels.end(), 0), 0) << "the bar is solid";
}

TEST(Interface, TitlePicturesLeaveColourZeroWhereTheScreenShowsThrough) {
    const PcxImage frame = ReadGenerated("INTERF/TITLE.PCX");
    EXPECT_EQ(
        frame.pixels[static_cast<std::size_t>(frame.height / 2 * frame.width + frame.width / 2)],
        0);
    EXPECT_NE(frame.pixels[0], 0);
    EXPECT_NE(frame.pixels.back(), 0);

    const PcxImage logo = ReadGenerated("INTERF/TKELV.PCX");
    // Drawn 0.9297 x 0.1646 of a 4:3 screen: about 7.5 times wider than high.
    EXPECT_NEAR(static_cast<double>(logo.width) / logo.height, 0.9296875 * 4 / 3 / 0.1645833, 0.5);
    EXPECT_EQ(logo.pixels.front(), 0);
    EXPECT_EQ(logo.pixels.back(), 0);
    const auto gold = std::count_if(logo.pixels.begin(), logo.pixels.end(), IsGold);
    EXPECT_GT(gold, static_cast<long>(logo.pixels.size() / 4));

    for (const char* file : {"INTERF/RADARP1.PCX", "INTERF/RADARP2.PCX", "INTERF/SELECT.PCX"}) {
        const PcxImage blip = ReadGenerated(file);
        EXPECT_EQ(blip.pixels.front(), 0) << file;
        EXPECT_NE(
            blip.pixels[static_cast<std::size_t>(blip.height / 2 * blip.width + blip.width / 2)], 0)
            << file;
    }
}

TEST(GenerateInterface, WritesTheSameBytesEveryRun) {
    TempDir again;
    GenerateInterface(DataKit{again.path(), again.path()});
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(again.path() / "INTERF")) {
        const std::string relative = "INTERF/" + entry.path().filename().string();
        EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes(GeneratedVisuals().file(relative)))
            << relative;
        ++files;
    }
    EXPECT_EQ(files, 10);
}
