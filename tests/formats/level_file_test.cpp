#include "formats/definitions.h"
#include "formats/level_file.h"
#include "platform/message_box.h"
#include "support/data_set.h"
#include "support/test_support.h"
#include "world/frame_clock.h"
#include "world/level_state.h"
#include "world/random.h"
#include "world/world.h"

#include <array>
#include <bit>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using namespace std::string_literals;

namespace {

LevelData sampleLevel(std::int32_t x, std::int32_t y, std::int32_t z, int sentryCount) {
    LevelData level;
    level.sizeX = x;
    level.sizeY = y;
    level.sizeZ = z;
    for (int i = 0; i < x * y * z; ++i) {
        level.cells.push_back(static_cast<std::uint8_t>(i % 7));
        level.brightness.push_back(static_cast<std::uint8_t>(100 + i % 50));
    }
    LevelState& s = level.state;
    s.definitionFile = EditorDefinitionFile();
    s.startX = x / 2;
    s.startY = 1;
    s.startZ = z / 2;
    s.startHeading = 8192;
    s.exitX = -1;
    s.musicZones[0] = {1, 2, 3, 4};
    s.description = "desc";
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
    std::int32_t v;
    std::memcpy(&v, &b[offset], 4); // the test machine is little-endian too
    return v;
}

void putInt32(std::vector<std::uint8_t>& b, std::size_t offset, std::int32_t v) {
    std::memcpy(&b[offset], &v, 4);
}

class LevelFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        Now = 1000;
        SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
    }
    void TearDown() override { SetMessageBoxHandler(nullptr); }
    TempDir dir;
    std::vector<std::string> messages;
};

} // namespace

TEST_F(LevelFileTest, WrittenLevelsReadBackByteIdentical) {
    for (int sentries : {0, 2}) {
        for (auto [x, y, z] : {std::array{1, 1, 1}, std::array{4, 5, 6}}) {
            const auto bytes = EncodeLevel(sampleLevel(x, y, z, sentries));
            EXPECT_EQ(bytes.size(), 4913u + 2u * x * y * z + 16u * sentries);
            ASSERT_NE(LoadLevel(dir.write("in.lev", bytes), "High").result, kLevelRefused);
            const std::string out = dir.file("out" + std::to_string(bytes.size()) + ".lev");
            ASSERT_TRUE(SaveLevel(out));
            EXPECT_EQ(ReadBytes(out), bytes);
        }
    }
}

TEST_F(LevelFileTest, FieldsSitAtTheirOffsets) {
    LevelData level = sampleLevel(4, 5, 6, 2);
    level.cells[69] = 200; // cell (1, 2, 3): 1 + 4 * (2 + 5 * 3)
    level.brightness[69] = 201;
    auto b = EncodeLevel(level);
    const std::size_t n = 120;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 14), "\x0CSTANDARD.BNK\0"s);
    EXPECT_EQ(int32At(b, 264), 6);
    EXPECT_EQ(int32At(b, 284), -1);
    EXPECT_EQ(b[296 + 69], 200);
    EXPECT_EQ(b[296 + n + 69], 201);
    EXPECT_EQ(int32At(b, 296 + 2 * n + 12), 4);                // zone 0 music
    EXPECT_EQ(int32At(b, 296 + 2 * n + 16), kUnusedMusicZone); // zone 1 unused
    EXPECT_EQ(std::string(b.begin() + 4392 + 2 * n, b.begin() + 4397 + 2 * n), "\x04"
                                                                               "desc");
    EXPECT_EQ(b[4648 + 2 * n], 7);
    EXPECT_EQ(b[4904 + 2 * n], 1);
    EXPECT_EQ(int32At(b, 4909 + 2 * n), 12345);
    EXPECT_EQ(int32At(b, 4913 + 2 * n + 28), std::bit_cast<std::int32_t>(-1000.0f));

    b[0] = 3;                     // "STA": the rest of the field is padding
    b.insert(b.end(), {9, 9, 9}); // bytes past the last sentry are ignored
    ASSERT_NE(LoadLevel(dir.write("l.lev", b), "High").result, kLevelRefused);
    EXPECT_EQ(levelState.definitionFile, "STA");
    EXPECT_EQ(cellAt(1, 2, 3), 200);
    EXPECT_EQ(brightnessAt(1, 2, 3), 201);
    EXPECT_EQ(sentryCount, 2);
}

TEST_F(LevelFileTest, LoadingStartsTheLevel) {
    LevelData level = sampleLevel(4, 5, 6, 2);
    level.sentries[1] = {-100.0f, 1023.5f, 1536.0f, 300.0f};
    level.cells.assign(level.cells.size(), 0);
    level.cells[3] = level.cells[9] = 5;
    objectTypes[5].Lingot = 1;
    currentMusic = 3;
    timerRunning = 1;
    holeCount = 4;
    players[2].dead = 1;

    {
        // No definition file here: the level is in, the definitions fail.
        ScopedCurrentDir cd(dir.path());
        ASSERT_EQ(LoadLevel(dir.write("l.lev", EncodeLevel(level)), "Low").result,
                  kLevelDefinitionsFailed);
    }
    EXPECT_EQ(objectTypes[5].lingotCount, 2);
    EXPECT_EQ(currentMusic, -1);
    EXPECT_EQ(timerRunning, 0);
    EXPECT_EQ(holeCount, -1);
    const PlayerRecord& last = players[4];
    EXPECT_EQ((std::array{last.x, last.y, last.z, last.heading}),
              (std::array{2 * 512 + 256.0f, 512 + 480.0f, 3 * 512 + 256.0f, 8192.0f}));
    EXPECT_EQ(players[2].dead, 0);
    const SentryRecord& s = sentries[2]; // file record 1
    EXPECT_EQ(s.headingTarget, 300.0f);
    EXPECT_EQ((std::array{s.cellX, s.cellY, s.cellZ}), (std::array{0, 1, 3})); // truncated
    EXPECT_EQ(s.targetY, 1023.5f);
    EXPECT_EQ(s.soundState, 1);
    EXPECT_EQ(s.lastSoundTime, 3000);
    const std::int32_t draw = RandomInt(1000);
    SeedRandom(12345);
    EXPECT_EQ(RandomInt(1000), draw);
}

TEST_F(LevelFileTest, IngotsAreCountedWithTheTypesTheLevelBrings) {
    // The first level of a run loads its definitions after its cells: the
    // ingot count must come from the types those definitions give.
    WriteMiniDataSet(dir, "[Object 20]\nCube=TRUE\nLingot=TRUE\n");
    ForgetDefinitions();
    LevelData level = sampleLevel(4, 5, 6, 0);
    level.state.definitionFile = kDefinitionFile;
    level.cells.assign(level.cells.size(), 0);
    level.cells[1] = level.cells[7] = level.cells[8] = 20;
    ScopedCurrentDir cd(dir.path());
    ASSERT_EQ(LoadLevel(dir.write("ingots.lev", EncodeLevel(level)), "Low").result, kLevelLoaded);
    EXPECT_EQ(objectTypes[20].lingotCount, 3);
}

TEST_F(LevelFileTest, FewerSentriesKeepTheOldTailAndLongStringsAreCut) {
    const std::string file = dir.file("s.lev");
    ASSERT_TRUE(WriteLevelBytes(file, EncodeLevel(sampleLevel(2, 2, 2, 3))));
    const auto longer = ReadBytes(file);
    LevelData fewer = sampleLevel(2, 2, 2, 1);
    fewer.state.description = std::string(255, 'd');
    fewer.state.author = std::string(300, 'a');
    ASSERT_TRUE(WriteLevelBytes(file, EncodeLevel(fewer)));
    const auto after = ReadBytes(file);
    ASSERT_EQ(after.size(), longer.size());
    EXPECT_TRUE(std::equal(after.begin() + 4913 + 32, after.end(), longer.begin() + 4913 + 32));

    ASSERT_NE(LoadLevel(file, "High").result, kLevelRefused);
    EXPECT_EQ(sentryCount, 1);
    EXPECT_EQ(levelState.description, std::string(255, 'd'));
    EXPECT_EQ(levelState.author, std::string(255, 'a'));
    EXPECT_FALSE(SaveLevel(dir.file("no/such/folder/x.lev")));
}

TEST_F(LevelFileTest, ReadsOnlyWhatItsSizesNeedAndWritesThroughAFreshName) {
    const auto bytes = EncodeLevel(sampleLevel(4, 5, 6, 2));
    const std::string file = dir.write("tail.lev", bytes);
    ExtendSparse(file, 3ull << 30);
    const std::uint64_t before = BytesReadSoFar();
    const auto level = ReadLevelFile(file);
    ASSERT_TRUE(level);
    EXPECT_LT(BytesReadSoFar() - before, bytes.size() + 4096);
    EXPECT_EQ(EncodeLevel(*level), bytes);

    // The writer's old temporary name, planted in advance, is not followed.
    TempDir elsewhere;
    const std::string victim = elsewhere.write("victim", "keep");
    const std::string saved = dir.file("saved.lev");
    std::filesystem::create_symlink(victim, saved + ".tmp");
    ASSERT_TRUE(WriteLevelBytes(saved, bytes));
    EXPECT_EQ(ReadBytes(victim), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(ReadBytes(saved), bytes);
}

TEST_F(LevelFileTest, RefusedFilesChangeNothing) {
    const auto good = EncodeLevel(sampleLevel(2, 3, 4, 2));
    const std::size_t n = 24, countAt = 4905 + 2 * n;
    ASSERT_NE(LoadLevel(dir.write("good.lev", good), "High").result, kLevelRefused);
    const std::vector<std::uint8_t> cells = worldGrid.cells;
    const float sentryY = sentries[2].y;

    struct Damage {
        const char* name;
        std::size_t keep; // bytes kept from the start
        std::size_t offset = 0;
        std::int32_t value = 0;
    };
    const Damage cases[] = {
        {"empty", 0},
        {"header cut", 295},
        {"layers cut", 296 + 2 * n - 1},
        {"last sentry cut", good.size() - 1},
        {"zero size", good.size(), 256, 0},
        {"negative size", good.size(), 264, -4},
        {"2^31 cells", good.size(), 260, 0x40000000},
        {"sentry count -1", good.size(), countAt, -1},
        {"sentry count 256", good.size(), countAt, 256},
        {"sentry count past the data", good.size(), countAt, 3},
        {"sentry not a number", good.size(), 4913 + 2 * n + 20, 0x7FC00000},
    };
    for (const Damage& d : cases) {
        std::vector<std::uint8_t> bytes(good.begin(), good.begin() + d.keep);
        if (d.offset) putInt32(bytes, d.offset, d.value);
        const std::string file = dir.write(std::string(d.name) + ".lev", bytes);
        messages.clear();
        const LevelLoad load = LoadLevel(file, "High");
        EXPECT_EQ(load.result, kLevelRefused) << d.name;
        // The text is the caller's to show; the loader shows nothing itself.
        EXPECT_EQ(load.error, "The file " + file + " is missing or invalid.") << d.name;
        EXPECT_TRUE(messages.empty()) << d.name;
        EXPECT_EQ(worldGrid.sizeZ, 4) << d.name;
        EXPECT_EQ(worldGrid.cells, cells) << d.name;
        EXPECT_EQ(sentryCount, 2) << d.name;
        EXPECT_EQ(sentries[2].y, sentryY) << d.name;
    }
    EXPECT_EQ(LoadLevel(dir.file("missing.lev"), "High").result, kLevelRefused);
    EXPECT_EQ(LoadLevel(dir.path().string(), "High").result, kLevelRefused); // a folder
    // Sizes whose product overflows even 64 bits when multiplied carelessly.
    std::vector<std::uint8_t> huge = good;
    for (std::size_t at : {256, 260, 264}) putInt32(huge, at, 0x7FFFFFFF);
    EXPECT_FALSE(ParseLevel(huge.data(), huge.size()));
    EXPECT_FALSE(ParseLevel(nullptr, 0));
}
