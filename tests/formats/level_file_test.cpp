#include "formats/level_file.h"
#include "platform/message_box.h"
#include "support/test_support.h"
#include "world/frame_clock.h"
#include "world/level_state.h"
#include "world/random.h"
#include "world/world.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A level with every field set to something recognisable.
LevelData sampleLevel(std::int32_t x, std::int32_t y, std::int32_t z, int sentryCount) {
    LevelData level;
    level.sizeX = x;
    level.sizeY = y;
    level.sizeZ = z;
    const std::size_t n = static_cast<std::size_t>(x) * y * z;
    for (std::size_t i = 0; i < n; ++i) {
        level.cells.push_back(static_cast<std::uint8_t>(i % 7));
        level.brightness.push_back(static_cast<std::uint8_t>(100 + i % 50));
    }
    LevelState& s = level.state;
    s.definitionFile = kEditorDefinitionFile;
    s.startX = x / 2;
    s.startY = 1;
    s.startZ = z / 2;
    s.startHeading = 8192;
    s.exitX = -1;
    s.exitY = 2;
    s.exitZ = 3;
    s.musicZones[0] = {1, 2, 3, 4};
    s.musicZones[255] = {0, 0, 0, 9};
    s.description = "A level";
    s.author = "Someone";
    s.outside = 1;
    s.randomSeed = 12345;
    for (int k = 0; k < sentryCount; ++k) {
        const float c = static_cast<float>(k * 512 + 256);
        level.sentries.push_back({c, 256.0f, c + 512.0f, static_cast<float>(-1000 * k)});
    }
    return level;
}

std::int32_t int32At(const std::vector<std::uint8_t>& b, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | b[offset + i];
    return static_cast<std::int32_t>(v);
}

void putInt32(std::vector<std::uint8_t>& b, std::size_t offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Collects message box texts for the length of a test.
class MessageCapture {
  public:
    MessageCapture() {
        SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
    }
    ~MessageCapture() { SetMessageBoxHandler(nullptr); }
    std::vector<std::string> messages;
};

class LevelFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        Now = 1000;
    }
    TempDir dir;
};

} // namespace

TEST_F(LevelFileTest, OneCellLevelHasTheMinimumSizeAndRoundTrips) {
    for (int sentries : {0, 1, 2}) {
        const auto bytes = EncodeLevel(sampleLevel(1, 1, 1, sentries));
        EXPECT_EQ(bytes.size(), 4915u + 16u * sentries);
        const auto parsed = ParseLevel(bytes.data(), bytes.size());
        ASSERT_TRUE(parsed);
        EXPECT_EQ(EncodeLevel(*parsed), bytes);

        const std::string file = dir.write("one.lev", bytes);
        ASSERT_TRUE(LoadLevel(file, "High"));
        const std::string copy = dir.file("copy.lev");
        ASSERT_TRUE(SaveLevel(copy));
        EXPECT_EQ(ReadBytes(copy), bytes);
    }
}

TEST_F(LevelFileTest, FieldsSitAtTheirOffsets) {
    LevelData level = sampleLevel(4, 5, 6, 2);
    const std::size_t index = 1 + 4 * (2 + 5 * 3);
    ASSERT_EQ(index, 69u);
    level.cells[index] = 200;
    level.brightness[index] = 201;
    level.state.description = "desc";
    const auto b = EncodeLevel(level);
    const std::size_t n = 120;
    ASSERT_EQ(b.size(), 4913 + 2 * n + 32);

    EXPECT_EQ(b[0], 12);
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 13), "STANDARD.BNK");
    EXPECT_EQ(b[13], 0); // padding is zero
    EXPECT_EQ(int32At(b, 256), 4);
    EXPECT_EQ(int32At(b, 264), 6);
    EXPECT_EQ(int32At(b, 280), 8192);
    EXPECT_EQ(int32At(b, 284), -1);
    EXPECT_EQ(b[296 + 69], 200);
    EXPECT_EQ(b[296 + n + 69], 201);
    EXPECT_EQ(int32At(b, 296 + 2 * n), 1); // zone 0 cell x
    EXPECT_EQ(int32At(b, 296 + 2 * n + 12), 4);
    EXPECT_EQ(int32At(b, 296 + 2 * n + 16), kUnusedMusicZone); // zone 1 unused
    EXPECT_EQ(b[4392 + 2 * n], 4);
    EXPECT_EQ(b[4393 + 2 * n], 'd');
    EXPECT_EQ(b[4648 + 2 * n], 7);
    EXPECT_EQ(b[4904 + 2 * n], 1);
    EXPECT_EQ(int32At(b, 4905 + 2 * n), 2);
    EXPECT_EQ(int32At(b, 4909 + 2 * n), 12345);
    float heading;
    std::memcpy(&heading, &b[4913 + 2 * n + 16 + 12], 4);
    EXPECT_EQ(heading, -1000.0f);

    const std::string file = dir.write("l.lev", b);
    ASSERT_TRUE(LoadLevel(file, "High"));
    EXPECT_EQ(cellAt(1, 2, 3), 200);
    EXPECT_EQ(brightnessAt(1, 2, 3), 201);
    EXPECT_EQ(cellAt(0, 0, 0), 0);
    EXPECT_EQ(brightnessAt(0, 0, 0), 100);
}

TEST_F(LevelFileTest, LoadingStartsTheLevel) {
    LevelData level = sampleLevel(4, 5, 6, 2);
    level.sentries[1] = {-100.0f, 1023.5f, 1536.0f, 300.0f};
    level.cells.assign(level.cells.size(), 0);
    level.cells[3] = level.cells[4] = level.cells[9] = 5;
    objectTypes[5].Lingot = 1;
    currentMusic = 3;
    timerRunning = 1;
    timeLeftMs = 5000;
    holeCount = 4;
    slidingBlockCount = 2;
    players[2].dead = 1;

    ASSERT_TRUE(LoadLevel(dir.write("l.lev", EncodeLevel(level)), "Low"));
    EXPECT_EQ(levelState.description, "A level");
    EXPECT_EQ(levelState.musicZones[255].music, 9);
    EXPECT_EQ(objectTypes[5].lingotCount, 3);
    EXPECT_EQ(currentMusic, -1);
    EXPECT_EQ(timerRunning, 0);
    EXPECT_EQ(holeCount, -1);
    EXPECT_EQ(slidingBlockCount, -1);
    for (const PlayerRecord& p : players) {
        EXPECT_EQ(p.x, 2 * 512 + 256);
        EXPECT_EQ(p.y, 1 * 512 + 480);
        EXPECT_EQ(p.z, 3 * 512 + 256);
        EXPECT_EQ(p.heading, 8192.0f);
        EXPECT_EQ(p.dead, 0);
    }

    ASSERT_EQ(sentryCount, 2);
    const SentryRecord& first = sentries[1];
    EXPECT_EQ(first.x, 256.0f);
    EXPECT_EQ(first.z, 768.0f);
    EXPECT_EQ(first.cellZ, 1);
    const SentryRecord& second = sentries[2];
    EXPECT_EQ(second.heading, 300.0f);
    EXPECT_EQ(second.headingTarget, 300.0f);
    EXPECT_EQ(second.cellX, 0); // truncation toward zero
    EXPECT_EQ(second.cellY, 1);
    EXPECT_EQ(second.cellZ, 3);
    EXPECT_EQ(second.targetY, 1023.5f);
    EXPECT_EQ(second.state, 0);
    EXPECT_EQ(second.soundState, 1);
    EXPECT_EQ(second.lastSoundTime, 3000);
    EXPECT_EQ(second.width, 130);
    EXPECT_EQ(second.halfHeight, 240);
    EXPECT_EQ(second.speed, 40);
    EXPECT_EQ(sentries[0].x, 0.0f); // slot 0 is never filled

    // The run-time generator now draws the level's own sequence.
    const std::int32_t a = RandomInt(1000), b = RandomInt(1000);
    SeedRandom(12345);
    EXPECT_EQ(RandomInt(1000), a);
    EXPECT_EQ(RandomInt(1000), b);
}

TEST_F(LevelFileTest, SavingFewerSentriesKeepsTheOldTailAndReadsOnlyTheNewCount) {
    const std::string file = dir.file("s.lev");
    ASSERT_TRUE(WriteLevelBytes(file, EncodeLevel(sampleLevel(2, 2, 2, 3))));
    const auto longer = ReadBytes(file);

    const LevelData fewer = sampleLevel(2, 2, 2, 1);
    ASSERT_TRUE(WriteLevelBytes(file, EncodeLevel(fewer)));
    const auto after = ReadBytes(file);
    ASSERT_EQ(after.size(), longer.size());
    const std::size_t newEnd = 4913 + 16 + 16;
    EXPECT_TRUE(std::equal(after.begin() + newEnd, after.end(), longer.begin() + newEnd));

    ASSERT_TRUE(LoadLevel(file, "High"));
    EXPECT_EQ(sentryCount, 1);
    ASSERT_TRUE(SaveLevel(file));
    EXPECT_EQ(ReadBytes(file), after);
}

TEST_F(LevelFileTest, ShortStringsKeep255CharactersAndCutLongerOnes) {
    LevelData level = sampleLevel(1, 1, 1, 0);
    level.state.description = std::string(255, 'd');
    level.state.author = std::string(300, 'a');
    level.state.definitionFile = "Other.bnk";
    const auto bytes = EncodeLevel(level);
    const auto parsed = ParseLevel(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->state.description, std::string(255, 'd'));
    EXPECT_EQ(parsed->state.author, std::string(255, 'a'));
    EXPECT_EQ(parsed->state.definitionFile, "Other.bnk");

    // The saved level always names the editor's definition file.
    ASSERT_TRUE(ApplyLevel(*parsed));
    EXPECT_EQ(levelState.definitionFile, "Other.bnk");
    EXPECT_EQ(CurrentLevel().state.definitionFile, "STANDARD.BNK");
}

TEST_F(LevelFileTest, PaddingAndBytesPastTheEndAreIgnored) {
    auto bytes = EncodeLevel(sampleLevel(3, 1, 2, 1));
    const auto clean = bytes;
    bytes[0] = 3; // "STA", the rest of the field is now padding
    bytes.insert(bytes.end(), {9, 9, 9, 9, 9});
    const auto parsed = ParseLevel(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->state.definitionFile, "STA");
    EXPECT_EQ(parsed->sentries.size(), 1u);
    EXPECT_EQ(EncodeLevel(*parsed).size(), clean.size());
}

TEST_F(LevelFileTest, RefusedFilesChangeNothing) {
    const auto good = EncodeLevel(sampleLevel(2, 3, 4, 2));
    const std::size_t n = 24;
    MessageCapture capture;
    ASSERT_TRUE(LoadLevel(dir.write("good.lev", good), "High"));
    const std::vector<std::uint8_t> cells = worldGrid.cells;
    const float sentryX = sentries[2].x;

    struct Damage {
        const char* name;
        std::size_t keep; // bytes kept from the start (0 = all)
        std::size_t offset = 0;
        std::int32_t value = 0;
    };
    const std::size_t sentryCountAt = 4905 + 2 * n;
    const Damage cases[] = {
        {"empty", 1},
        {"header cut", 295},
        {"layers cut", 296 + 2 * n - 1},
        {"seed cut", 4912 + 2 * n},
        {"last sentry cut", good.size() - 1},
        {"zero size", 0, 256, 0},
        {"negative size", 0, 264, -4},
        {"size product overflows", 0, 260, 0x40000000},
        {"sentry count negative", 0, sentryCountAt, -1},
        {"sentry count 256", 0, sentryCountAt, 256},
        {"sentry count past the data", 0, sentryCountAt, 3},
    };
    for (const Damage& d : cases) {
        std::vector<std::uint8_t> bytes = good;
        if (d.keep == 1)
            bytes.clear();
        else if (d.keep)
            bytes.resize(d.keep);
        if (d.offset) putInt32(bytes, d.offset, d.value);
        const std::string file = dir.write(std::string(d.name) + ".lev", bytes);
        capture.messages.clear();
        EXPECT_FALSE(LoadLevel(file, "High")) << d.name;
        ASSERT_EQ(capture.messages.size(), 1u) << d.name;
        EXPECT_EQ(capture.messages[0], "The file " + file + " is missing or invalid.");
        EXPECT_EQ(worldGrid.sizeX, 2) << d.name;
        EXPECT_EQ(worldGrid.sizeZ, 4) << d.name;
        EXPECT_EQ(worldGrid.cells, cells) << d.name;
        EXPECT_EQ(levelState.randomSeed, 12345) << d.name;
        EXPECT_EQ(sentryCount, 2) << d.name;
    }

    // Sentries that are not at a number.
    auto nan = good;
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&nan[4913 + 2 * n + 16 + 4], &notANumber, 4);
    EXPECT_FALSE(LoadLevel(dir.write("nan.lev", nan), "High"));
    EXPECT_EQ(sentries[2].x, sentryX);

    EXPECT_FALSE(LoadLevel(dir.file("missing.lev"), "High"));
    EXPECT_FALSE(LoadLevel(dir.path().string(), "High")); // a folder
    EXPECT_EQ(capture.messages.back(),
              "The file " + dir.path().string() + " is missing or invalid.");
    EXPECT_EQ(worldGrid.cells, cells);
}

TEST_F(LevelFileTest, HugeSizesAreRefusedWithoutAllocating) {
    std::vector<std::uint8_t> bytes(4913, 0);
    // 65536^3 overflows 64 bits on the way if multiplied carelessly; 2^31 cells
    // do not fit the grid's 32-bit indices.
    for (std::int32_t sizes : {65536, 2147483647}) {
        putInt32(bytes, 256, sizes);
        putInt32(bytes, 260, sizes);
        putInt32(bytes, 264, sizes);
        EXPECT_FALSE(ParseLevel(bytes.data(), bytes.size()));
    }
    putInt32(bytes, 256, 65536);
    putInt32(bytes, 260, 32768);
    putInt32(bytes, 264, 1);
    EXPECT_FALSE(LevelCellCount(65536, 32768, 1));
    EXPECT_TRUE(LevelCellCount(65536, 32767, 1));
    EXPECT_FALSE(ParseLevel(bytes.data(), bytes.size()));
    EXPECT_FALSE(ParseLevel(nullptr, 0));
}

TEST_F(LevelFileTest, SaveFailsWhenTheFileCannotBeWritten) {
    ASSERT_TRUE(ApplyLevel(sampleLevel(1, 1, 1, 0)));
    EXPECT_FALSE(SaveLevel(dir.file("no/such/folder/x.lev")));
}
