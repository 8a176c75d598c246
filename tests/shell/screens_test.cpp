#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "draw/pipeline.h"
#include "engine/render_context.h"
#include "formats/definitions.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/scramble_text.h"
#include "shell/end_screen.h"
#include "shell/end_text.h"
#include "shell/frame_step.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "shell/title_screen.h"
#include "support/test_support.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// The lines scrambled one by one, each ended by "\n", as the data kit writes them.
std::string scrambledFile(const std::vector<std::string>& lines) {
    std::string file;
    for (const std::string& line : lines) file += ScrambleText(line) + "\n";
    return file;
}

TEST(EndTextTest, LinesEndAtAnyLineBreakAndTheLastIsNotCounted) {
    const EndTextRecord text = ParseEndText(bytesOf("one\r\ntwo\rthree\n\nfive\x1a"
                                                    "after the end of the text"));
    EXPECT_EQ(text.lines, (std::vector<std::string>{"one", "two", "three", "", "five"}));
    EXPECT_EQ(text.count, 4);

    EXPECT_EQ(ParseEndText(bytesOf("a\nb\n")).count, 1); // a final break starts no line
    EXPECT_EQ(ParseEndText(bytesOf("a\nb")).count, 1);
    EXPECT_EQ(ParseEndText(bytesOf("\n")).lines, std::vector<std::string>{""});
    EXPECT_EQ(ParseEndText(bytesOf("only")).count, 0);
    EXPECT_EQ(ParseEndText({}).count, 0);

    std::string many;
    for (int i = 0; i < 1500; ++i) many += std::to_string(i) + "\n";
    const EndTextRecord cut = ParseEndText(bytesOf(many));
    ASSERT_EQ(cut.lines.size(), 1001u);
    EXPECT_EQ(cut.lines.back(), "1000");
    EXPECT_EQ(cut.count, 1000);
}

class EndTextFileTest : public ShellTest {};

TEST_F(EndTextFileTest, MissingFileShowsTheReinstallMessage) {
    TempDir data;
    ScopedCurrentDir inData(data.path());
    endText = ParseEndText(bytesOf("x\ny\n"));
    EXPECT_FALSE(ReadEndText());
    EXPECT_EQ(messages, std::vector<std::string>{"GAME: The file game.dat does not exist. "
                                                 "Please re-install the application"});

    data.write("game.dat", scrambledFile({"&BIG", " small", " "}));
    messages.clear();
    EXPECT_TRUE(ReadEndText());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(endText.count, 2);
    EXPECT_EQ(ScrambleText(endText.lines[0]), "&BIG");
}

TEST(EndTextLayoutTest, MarkerChoosesTheFontAndEveryLineAdvances) {
    // "&A", "b", "c": A in the big font, an empty small line, and the last
    // line of the file is not shown.
    const EndTextRecord three = ParseEndText(bytesOf(scrambledFile({"&A", "b", "c"})));
    const std::vector<EndTextLine> layout = EndTextLayout(three, 1.0);
    ASSERT_EQ(layout.size(), 2u);
    EXPECT_EQ(layout[0].text, "A");
    EXPECT_TRUE(layout[0].big);
    EXPECT_DOUBLE_EQ(layout[0].top, 1.0);
    EXPECT_EQ(layout[1].text, "");
    EXPECT_FALSE(layout[1].big);
    EXPECT_DOUBLE_EQ(layout[1].top, 1.06);

    // An empty stored line takes no room; a one-character line draws nothing
    // but still takes its row.
    EndTextRecord gaps;
    gaps.lines = {ScrambleText(" x"), "", ScrambleText("&"), ScrambleText(" y"), ""};
    gaps.count = 4;
    const std::vector<EndTextLine> spaced = EndTextLayout(gaps, 0.5);
    ASSERT_EQ(spaced.size(), 3u);
    EXPECT_DOUBLE_EQ(spaced[1].top, 0.53);
    EXPECT_EQ(spaced[1].text, "");
    EXPECT_TRUE(spaced[1].big);
    EXPECT_DOUBLE_EQ(spaced[2].top, 0.59);
    EXPECT_EQ(spaced[2].text, "y");
}

TEST(EndTextLayoutTest, OnlyLinesWithinThePictureAreShown) {
    EndTextRecord text;
    for (int i = 0; i < 60; ++i) text.lines.push_back(ScrambleText(" LINE"));
    text.count = 60;
    for (double scroll : {1.0, 0.2, -0.4}) {
        for (const EndTextLine& line : EndTextLayout(text, scroll))
            EXPECT_EQ(line.shown, line.top > -0.03 && line.top < 1.07) << line.top;
    }
    const auto layout = EndTextLayout(text, -0.03);
    EXPECT_FALSE(layout[0].shown); // -0.03 itself is out
    EXPECT_TRUE(layout[1].shown);
}

// Frames of the game loop on the virtual clock, without drawing.
class ScreenFramesTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        ClearWorldTables();
        shellState.Initialised = true;
        shellState.Drawing = false;
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            AdvanceVirtualClock(50);
            FrameStep();
        }
    }
};

TEST_F(ScreenFramesTest, HeldButtonLeavesTheEndScreenForTheTitle) {
    ChangeScreen(kScreenEnd);
    frames(1);
    EXPECT_FALSE(shellState.FirstFrame);
    EXPECT_LT(endScreen.ScrollTop, 1.0f);

    // Held through the whole closing transition and after it.
    PressKey(kVkSpace);
    frames(25);
    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    EXPECT_EQ(shellState.TransitionDirection, -1); // the title opens
}

TEST_F(ScreenFramesTest, EscapeEndsTheProgramEvenDuringATransition) {
    ChangeScreen(kScreenTitle);
    PressKey(kVkSpace);
    frames(2);
    ReleaseKey(kVkSpace);
    ASSERT_TRUE(shellState.TransitionActive);
    PressKey(kVkEscape);
    frames(1);
    EXPECT_TRUE(shellState.EndRequested);
    EXPECT_EQ(shellState.ExitCode, 0);
}

TEST_F(ScreenFramesTest, UnreadableFirstLevelIsReportedOnceAndTheTitleStays) {
    TempDir data;
    ScopedCurrentDir inData(data.path());
    shellState.LevelFiles = {"LEVEL\\missing.lev"};
    shellState.LevelCount = 1;
    ChangeScreen(kScreenTitle);
    PressKey(kVkSpace);
    frames(1);
    ReleaseKey(kVkSpace);
    frames(40);
    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(players[0].lives, 3);
}

TEST_F(ScreenFramesTest, SparksLandExactlyAndLongFramesKeepTheirGlowInRange) {
    ChangeScreen(kScreenEnd);
    frames(1);
    for (const Spark& spark : endScreen.Sparks) {
        EXPECT_GE(spark.y, 4096 - 20);
        EXPECT_LE(spark.x, 1023);
        EXPECT_GE(spark.z, -1024);
    }
    Spark& falling = endScreen.Sparks[0];
    falling.y = -390;
    Spark& landed = endScreen.Sparks[1];
    landed = Spark{};
    landed.y = kSparkGround;
    landed.shade = 200;
    landed.glowTime = 100;

    frames(1);
    EXPECT_EQ(falling.y, kSparkGround);
    EXPECT_GT(landed.glowTime, 0);
    EXPECT_LT(landed.shade, 200);

    // A frame of several seconds: the glow ends at 0, and the spark rises.
    AdvanceVirtualClock(5000);
    FrameStep();
    EXPECT_EQ(landed.shade, 0);
    EXPECT_EQ(landed.y, 2048);
    EXPECT_EQ(landed.glowTime, 100);
}

// The title and end screens drawn at every picture size the game offers. Run
// under the sanitizers, it catches any write outside the frame buffer.
class ScreensDrawingTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        ClearWorldTables();
        ForgetDefinitions();
        inData_.emplace(std::string(KELVANE_BINARY_DIR) + "/data");
        ASSERT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
        ASSERT_TRUE(ReadEndText());
    }
    void TearDown() override {
        inData_.reset();
        ShellTest::TearDown();
    }
    std::optional<ScopedCurrentDir> inData_;
};

bool anyPixelSet(const FrameBuffer& buffer) {
    const auto end = buffer.pixels.begin() + std::int64_t{buffer.width} * buffer.height;
    return std::any_of(buffer.pixels.begin(), end, [](std::uint8_t p) { return p != 0; });
}

TEST_F(ScreensDrawingTest, EveryPictureSizeStaysInsideTheFrame) {
    const std::pair<int, int> sizes[] = {{160, 120},  {320, 200},   {320, 240},
                                         {512, 384},  {640, 480},   {800, 600},
                                         {1024, 768}, {1280, 1024}, {1600, 1200}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        SetupViewport(width, height);

        // The end screen with the credits crossing both edges and the camera
        // at several places of its orbit.
        StartEndScreen();
        for (int step = 0; step < 6; ++step) {
            players[0].cameraOrbit = step * 5000.0f;
            endScreen.DrawnScrollTop = 1.0f - step * 0.45f;
            for (Spark& spark : endScreen.Sparks) spark.y = step % 2 ? -400.0f : spark.y / 4;
            DrawEndScreen();
            EXPECT_TRUE(anyPixelSet(renderContext.mainBuffer));
        }

        // The title: the logo at full zoom, then the demo page with the hero
        // walking into the camera.
        shellState.ScreenState = kScreenTitle;
        shellState.FirstFrame = true;
        shellState.ScreenEnteredAt = Now;
        shellState.Initialised = true;
        const auto titleFrame = [] {
            if (TitleScreenUpdate()) DrawTitleScreen();
        };
        for (int frame = 0; frame < 3; ++frame) titleFrame();
        EXPECT_TRUE(anyPixelSet(renderContext.mainBuffer));
        shellState.ScreenEnteredAt = Now - kTitlePageMs;
        for (float distance : {10240.0f, 1000.0f, 320.0f, 250.0f}) {
            titleFrame();
            titleScreen.DemoDistance = distance;
        }
        EXPECT_EQ(titleScreen.TitlePage, 1);
    }
}

} // namespace

namespace {

TEST(TitleLineTest, StoredLinesDecodeToPrintableTextThatFitsThePicture) {
    for (int variant = 0; variant < kTextVariants; ++variant) {
        for (int line = 0; line < 2; ++line) {
            const std::string text = TitleLine(variant, line);
            EXPECT_FALSE(text.empty());
            EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) {
                return c >= ' ' && c <= 'Z';
            })) << text;
            EXPECT_LE(text.size() * 0.0125, 0.9) << text; // small font advance
        }
    }
    EXPECT_EQ(TitleLine(0, 1), "VERSION BETA 7 - 01/2000");
    EXPECT_EQ(TitleLine(3, 0), "");
}

} // namespace
