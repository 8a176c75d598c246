#include "editor/cell_commands.h"
#include "editor/level_commands.h"
#include "editor/level_properties.h"
#include "editor/level_resize.h"
#include "editor_test_support.h"
#include "platform/script_answers.h"
#include "world/sentry_init.h"
#include "world/world.h"

namespace {

class LevelResizeTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        MakeNewLevel(6, 3, 5);
        InitSentries();
    }
    void AddSentry(int x, int y, int z) {
        SentryRecord& s = sentries[static_cast<std::size_t>(++sentryCount)];
        s.x = x * 512.0f + 256;
        s.y = y * 512.0f + 256;
        s.z = z * 512.0f + 256;
        InitSentries();
    }
};

TEST_F(LevelResizeTest, GrowingOnTheLowSidesMovesEverythingAndUndoRestoresIt) {
    setCell(1, 1, 1, 7);
    worldGrid.brightness[1 + 6 * (1 + 3 * 1)] = 20;
    levelState.musicZones[255] = {1, 1, 1, 2};
    AddSentry(1, 1, 1);
    PlaceSelectorAt({1, 1, 1});
    const std::vector<std::uint8_t> cellsBefore = worldGrid.cells;

    ASSERT_TRUE(ResizeLevel({2, 1, 1, 0, 3, 0}));
    EXPECT_EQ((std::array{worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ}),
              (std::array{9, 4, 8}));
    EXPECT_EQ(cellAt(3, 2, 4), 7);
    EXPECT_EQ(brightnessAt(3, 2, 4), 20);
    EXPECT_EQ(cellAt(0, 0, 0), 0); // new cells are empty
    EXPECT_EQ(brightnessAt(0, 0, 0), 128);
    EXPECT_EQ(cellAt(2, 1, 3), 1); // the old floor, one up
    EXPECT_EQ((std::array{levelState.startX, levelState.startY, levelState.startZ}),
              (std::array{5, 2, 5}));
    EXPECT_EQ(levelState.exitX, -3); // never placed: still outside
    EXPECT_EQ(levelState.musicZones[255], (MusicZone{3, 2, 4, 2}));
    EXPECT_EQ(sentries[1].x, 3 * 512.0f + 256);
    EXPECT_EQ(TargetCell(), (CellPosition{3, 2, 4}));
    EXPECT_TRUE(messages.empty());

    ASSERT_TRUE(UndoEdit());
    EXPECT_EQ((std::array{worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ}),
              (std::array{6, 3, 5}));
    EXPECT_EQ(worldGrid.cells, cellsBefore);
    EXPECT_EQ(levelState.musicZones[255], (MusicZone{1, 1, 1, 2}));
    EXPECT_EQ(sentries[1].x, 1 * 512.0f + 256);
    ASSERT_TRUE(RedoEdit());
    EXPECT_EQ(cellAt(3, 2, 4), 7);
}

TEST_F(LevelResizeTest, ShrinkingRemovesWhatFallsOutsideAndSaysSo) {
    AddSentry(0, 1, 0);
    AddSentry(5, 1, 4);
    AddSentry(1, 1, 1);
    levelState.exitX = 5;
    levelState.exitZ = 4;
    levelState.musicZones[10] = {5, 2, 4, 1};
    ASSERT_TRUE(ResizeLevel({0, -3, 0, 0, 0, -3}));
    EXPECT_EQ((std::array{worldGrid.sizeX, worldGrid.sizeZ}), (std::array{3, 2}));
    // The start (3, 1, 2) was cut off and moved to the nearest cell left.
    EXPECT_EQ((std::array{levelState.startX, levelState.startZ}), (std::array{2, 1}));
    EXPECT_EQ(levelState.musicZones[10].x, kUnusedMusicZone);
    // Sentries 1 and 3 remain, in their order.
    EXPECT_EQ(sentryCount, 2);
    EXPECT_EQ(sentries[2].x, 1 * 512.0f + 256);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The start lay in the removed part: it moved to 2,1,1.\n"
                           "The exit lay in the removed part: it is no longer placed.\n"
                           "1 music zone in the removed part freed.\n"
                           "1 sentry in the removed part removed.");
    UndoEdit();
    EXPECT_EQ(sentryCount, 3);
    EXPECT_EQ(levelState.exitX, 5);

    // Nothing left on an axis is refused.
    EXPECT_FALSE(ResizeLevel({-3, -3, 0, 0, 0, 0}));
    EXPECT_EQ(messages.back(), "The level must keep at least one cell on every axis.");
    EXPECT_EQ(worldGrid.sizeX, 6);
}

TEST_F(LevelResizeTest, TheResizeAnswerIsSixWholeNumbers) {
    std::string error;
    EXPECT_EQ(ParseResizeAnswer(" 1 -2 0 0 3 -4 ", error), (ResizeMargins{1, -2, 0, 0, 3, -4}));
    for (const char* bad : {"1 2 3", "1 2 3 4 5 6 7", "1 2 3 4 5 x", "1 2 3 4 5 -", "1 2 3 4 5 +1",
                            "1 2 3 4 5 99999999999"}) {
        error.clear();
        EXPECT_FALSE(ParseResizeAnswer(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    // The command asks again after a bad answer, and Cancel ends it.
    Answer({"1 2", "0 1 0 0 0 0"});
    ResizeLevelCommand();
    EXPECT_EQ(messages,
              std::vector<std::string>{"Enter six numbers: west east down up south north."});
    EXPECT_EQ(worldGrid.sizeX, 7);
}

TEST_F(LevelResizeTest, LevelPropertiesSetKindAndSeedAsOneStep) {
    levelState.outside = 1;
    levelState.randomSeed = 5;
    std::string error;
    EXPECT_EQ(ParseLevelPropertiesAnswer("indoor", {true, 5}, error), (LevelProperties{false, 5}));
    EXPECT_EQ(ParseLevelPropertiesAnswer("Outdoor 77", {false, 5}, error),
              (LevelProperties{true, 77}));
    for (const char* bad : {"", "Indoors", "Indoor -1", "Indoor 1 2", "Outdoor 99999999999"})
        EXPECT_FALSE(ParseLevelPropertiesAnswer(bad, {true, 5}, error)) << bad;

    const std::size_t steps = editor.history.position;
    QueueScriptAnswer(AnswerQueue::Prompt, {false, "Indoor 1234"});
    LevelPropertiesCommand();
    EXPECT_EQ(levelState.outside, 0);
    EXPECT_EQ(levelState.randomSeed, 1234);
    EXPECT_EQ(editor.history.position, steps + 1);
    UndoEdit();
    EXPECT_EQ(CurrentLevelProperties(), (LevelProperties{true, 5}));

    QueueScriptAnswer(AnswerQueue::Prompt, {false, "Inside"});
    LevelPropertiesCommand();
    EXPECT_EQ(messages.back(), "The level is Outdoor or Indoor, not \"Inside\".");
    EXPECT_EQ(levelState.outside, 1);

    // New makes the kind asked for.
    Answer({"4", "3", "4"});
    NewLevelOfKindCommand(false);
    EXPECT_EQ(worldGrid.sizeX, 4);
    EXPECT_EQ(levelState.outside, 0);
    ClearScriptAnswers();
}

} // namespace
