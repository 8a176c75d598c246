#include "formats/records_file.h"
#include "formats/replay_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

Replay sampleReplay(std::size_t frames) {
    Replay r;
    r.programVersion = "0.1";
    r.buildRevision = "abc1234-dirty";
    r.levelPath = "LEVEL\\01-first.lev";
    r.levelDigest = 0x0123456789abcdefull;
    r.start = {-5, 0xdeadbeefu, 3, 1.5f, 0.25f};
    r.outcome = kReplayOutcomeWon;
    r.levelTimeMs = 73250;
    for (std::size_t i = 0; i < frames; ++i)
        r.frames.push_back({static_cast<std::int32_t>(50 * i),
                            50 + static_cast<std::int32_t>(i % 3),
                            static_cast<std::uint16_t>(i % (1u << kReplayControlBits))});
    return r;
}

// Offset of the frame count: magic and format (8), three texts, digest,
// seven start and end values.
std::size_t frameCountOffset(const Replay& r) {
    return 8 + 6 + r.programVersion.size() + r.buildRevision.size() + r.levelPath.size() + 8 + 28;
}

// Rewrites the checksum after a deliberate change, so that the size checks
// behind it are what refuses the file.
void reseal(std::vector<std::uint8_t>& bytes) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i + 4 < bytes.size(); ++i) hash = (hash ^ bytes[i]) * 16777619u;
    for (int k = 0; k < 4; ++k)
        bytes[bytes.size() - 4 + k] = static_cast<std::uint8_t>(hash >> (8 * k));
}

TEST(ReplayFile, RoundTripKeepsEveryField) {
    for (const std::size_t frames : {0u, 1u, 4000u}) {
        const Replay r = sampleReplay(frames);
        const Loaded<Replay> back = DecodeReplay(EncodeReplay(r), "x.kvr");
        ASSERT_TRUE(back) << back.error;
        EXPECT_EQ(*back, r);
    }
}

TEST(ReplayFile, FileRoundTripAndMissingFile) {
    TempDir dir;
    const Replay r = sampleReplay(10);
    const std::string file = dir.write("last.kvr", EncodeReplay(r));
    const Loaded<Replay> back = ReadReplayFile(file);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(*back, r);
    const Loaded<Replay> missing = ReadReplayFile(dir.file("none.kvr"));
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.error.find("missing"), std::string::npos);
}

TEST(ReplayFile, DamagedFilesAreRefused) {
    const Replay r = sampleReplay(20);
    const std::vector<std::uint8_t> good = EncodeReplay(r);
    // Every cut short file, and every single flipped bit, is refused.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + n);
        EXPECT_FALSE(DecodeReplay(cut, "x.kvr")) << "cut at " << n;
    }
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::vector<std::uint8_t> bad = good;
        bad[i] ^= 0x10;
        EXPECT_FALSE(DecodeReplay(bad, "x.kvr")) << "byte " << i;
    }
    std::vector<std::uint8_t> longer = good;
    longer.insert(longer.end() - 4, 0);
    EXPECT_FALSE(DecodeReplay(longer, "x.kvr"));
}

TEST(ReplayFile, SizesAreCheckedBehindAGoodChecksum) {
    const Replay r = sampleReplay(3);
    const std::size_t at = frameCountOffset(r);
    const auto withCount = [&](std::uint32_t count) {
        std::vector<std::uint8_t> bytes = EncodeReplay(r);
        for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<std::uint8_t>(count >> (8 * k));
        reseal(bytes);
        return DecodeReplay(bytes, "x.kvr");
    };
    EXPECT_TRUE(withCount(3));
    for (const std::uint32_t count : {2u, 4u, kReplayMaxFrames + 1, 0xffffffffu}) {
        const Loaded<Replay> bad = withCount(count);
        EXPECT_FALSE(bad) << count;
    }
    // A name longer than the bytes left.
    std::vector<std::uint8_t> bytes = EncodeReplay(r);
    bytes[8] = 0xff;
    bytes[9] = 0x7f;
    reseal(bytes);
    EXPECT_FALSE(DecodeReplay(bytes, "x.kvr"));
}

TEST(ReplayFile, ImpossibleFramesAreRefused) {
    Replay r = sampleReplay(3);
    r.frames[1].frameMs = -1;
    EXPECT_FALSE(DecodeReplay(EncodeReplay(r), "x.kvr"));
    r = sampleReplay(3);
    r.frames[2].controls = 1u << kReplayControlBits;
    const Loaded<Replay> bad = DecodeReplay(EncodeReplay(r), "x.kvr");
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error.find("x.kvr"), std::string::npos);
}

TEST(ReplayFile, OtherFilesAndFormatsAreNamed) {
    const std::string text = "[Best]\n";
    const Loaded<Replay> notOne =
        DecodeReplay(std::vector<std::uint8_t>(text.begin(), text.end()), "records.ini");
    ASSERT_FALSE(notOne);
    EXPECT_NE(notOne.error.find("not a Kelvane replay"), std::string::npos);
    std::vector<std::uint8_t> later = EncodeReplay(sampleReplay(1));
    later[4] = 2;
    const Loaded<Replay> newer = DecodeReplay(later, "x.kvr");
    ASSERT_FALSE(newer);
    EXPECT_NE(newer.error.find("format 2"), std::string::npos);
}

TEST(ReplayFile, VersionAndLevelMustMatch) {
    const Replay r = sampleReplay(1);
    EXPECT_EQ(ReplayMismatch(r, "0.1", r.levelDigest), "");
    EXPECT_NE(ReplayMismatch(r, "0.2", r.levelDigest).find("version 0.1"), std::string::npos);
    const std::string level = ReplayMismatch(r, "0.1", r.levelDigest ^ 1);
    EXPECT_NE(level.find("LEVEL\\01-first.lev"), std::string::npos);
    EXPECT_NE(level.find(DigestText(r.levelDigest)), std::string::npos);
}

TEST(LevelDigest, OneChangedByteChangesIt) {
    std::vector<std::uint8_t> cells(4096, 3);
    const std::uint64_t digest = LevelDigest(cells);
    for (const std::size_t i : {0u, 1000u, 4095u}) {
        std::vector<std::uint8_t> changed = cells;
        changed[i] = 4;
        EXPECT_NE(LevelDigest(changed), digest) << i;
    }
    EXPECT_EQ(DigestText(0xabcull), "0000000000000abc");
}

TEST(Records, NamesAreSafeInFileNames) {
    EXPECT_EQ(RecordName("LEVEL\\01-First.lev"), "01-first");
    EXPECT_EQ(RecordName("/home/me/levels/My Level.v2.lev"), "my_level_v2");
    EXPECT_EQ(RecordName("../../etc/passwd"), "passwd");
    EXPECT_EQ(RecordName(".hidden"), "_hidden");
    EXPECT_EQ(RecordName(""), "");
}

TEST(Records, BestTimesRoundTripAndOnlyImprove) {
    BestTimes times;
    EXPECT_TRUE(TakeBestTime(times, "01-first", 9000));
    EXPECT_FALSE(TakeBestTime(times, "01-first", 9000));
    EXPECT_FALSE(TakeBestTime(times, "01-first", 9500));
    EXPECT_TRUE(TakeBestTime(times, "01-first", 8000));
    EXPECT_TRUE(TakeBestTime(times, "02-second", 12));
    EXPECT_FALSE(TakeBestTime(times, "", 5));
    EXPECT_FALSE(TakeBestTime(times, "03", 0));
    EXPECT_FALSE(TakeBestTime(times, "03", kLongestRecordMs + 1));
    EXPECT_EQ(ParseRecords(RecordsText(times)), times);
    EXPECT_EQ(times.at("01-first"), 8000);
}

TEST(Records, DamagedLinesAreLeftOut) {
    const BestTimes times = ParseRecords("; comment\n[Other]\na=5\n[best]\n01-First=7000\n"
                                         "bad name=5\n02=-3\n03=abc\n04=99999999999\n05=0x10\n"
                                         "\xff\xfe=1\n06\n01-first=1\n");
    // Names compare without regard to case (the first line wins).
    EXPECT_EQ(times, (BestTimes{{"01-first", 7000}, {"05", 16}}));
    EXPECT_TRUE(ParseRecords("").empty());
    EXPECT_TRUE(ParseRecords(std::string_view("\0\0[best", 7)).empty());
}

} // namespace
