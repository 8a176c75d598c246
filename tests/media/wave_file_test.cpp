#include "media/wave_file.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "wave_fixture.h"

namespace {

const Bytes kData = Samples16({100, -100, 200, -200});

std::string errorOf(const Bytes& bytes) {
    const Loaded<TIWave> wave = TIWave::Parse(bytes);
    return wave ? "read" : wave.error;
}

// A wave that reads, but without format or data: a silent sound.
bool readsEmpty(const Bytes& bytes) {
    const Loaded<TIWave> wave = TIWave::Parse(bytes);
    return wave && wave->FormatSize() == 0 && wave->DataSize() == 0;
}

Bytes withExtra(std::uint16_t tag, std::uint16_t extraSize, const Bytes& extra) {
    Bytes extraField{static_cast<std::uint8_t>(extraSize),
                     static_cast<std::uint8_t>(extraSize >> 8)};
    return FormatFields(tag, 1, 8000, 32) + extraField + extra;
}

TEST(WaveReader, ShortAndForeignHeadersGiveTheirTexts) {
    const Bytes riff = RiffWave(Chunk("fmt ", FormatFields(1, 1, 8000, 8)));
    for (std::size_t size = 0; size < 8; ++size)
        EXPECT_EQ(errorOf(Bytes(riff.begin(), riff.begin() + size)), kWaveDescendFailed) << size;
    // A RIFF chunk without the whole form type cannot be entered.
    for (std::size_t size = 8; size < 12; ++size)
        EXPECT_EQ(errorOf(Bytes(riff.begin(), riff.begin() + size)), kWaveDescendFailed) << size;
    EXPECT_EQ(errorOf(Bytes{'L', 'I', 'S', 'T', 0, 0, 0, 0, 'W'}), kNotAWaveFile);
    EXPECT_EQ(errorOf(ChunkWithSize("RIFF", 4, {'A', 'V', 'I', ' '})), kNotAWaveFile);
    EXPECT_EQ(errorOf(Chunk("WAVE", PcmWave(1, 8000, 16, kData))), kNotAWaveFile);

    TempDir dir;
    EXPECT_EQ(TIWave::Read(dir.file("absent.wav")).error, kWaveOpenFailed);
}

TEST(WaveReader, FormatChunksOfEverySize) {
    // 14 bytes is too short for a format.
    EXPECT_EQ(errorOf(RiffWave(Chunk("fmt ", Bytes(14, 1)) + Chunk("data", kData))), kNotAWaveFile);

    // PCM in 16 or 18 bytes: the extra size is 0 whatever the chunk holds.
    for (const Bytes& fmt : {FormatFields(1, 2, 22050, 16), withExtra(1, 7, {})}) {
        const Loaded<TIWave> wave =
            TIWave::Parse(RiffWave(Chunk("fmt ", fmt) + Chunk("data", kData)));
        ASSERT_TRUE(wave) << wave.error;
        EXPECT_EQ(wave->FormatSize(), 18u);
        EXPECT_EQ(wave->ExtraSize(), 0);
        EXPECT_EQ(wave->data, kData);
    }

    // Float in a 16-byte chunk: no extra size, rather than the next chunk's id.
    const Loaded<TIWave> floats =
        TIWave::Parse(RiffWave(Chunk("fmt ", FormatFields(3, 1, 8000, 32)) + Chunk("data", kData)));
    ASSERT_TRUE(floats) << floats.error;
    EXPECT_EQ(floats->FormatSize(), 18u);
    EXPECT_EQ(floats->SampleTag(), kWaveFormatFloat);

    // The 40-byte extensible record: 22 extra bytes, the sub-format in its GUID.
    Bytes extensible(22, 0);
    extensible[6] = 3;
    const Loaded<TIWave> ext = TIWave::Parse(RiffWave(
        Chunk("fmt ", withExtra(kWaveFormatExtensible, 22, extensible)) + Chunk("data", kData)));
    ASSERT_TRUE(ext) << ext.error;
    EXPECT_EQ(ext->FormatSize(), 40u);
    EXPECT_EQ(ext->SampleTag(), kWaveFormatFloat);

    // Extra bytes claimed past the chunk's end.
    EXPECT_EQ(errorOf(RiffWave(Chunk("fmt ", withExtra(2, 4, {1, 2})) + Chunk("data", kData))),
              kNotAWaveFile);
    // A format chunk cut short by the end of the file.
    EXPECT_EQ(errorOf(RiffWave(ChunkWithSize("fmt ", 16, {1, 0, 1, 0}))), kWaveReadError);
    EXPECT_EQ(errorOf(RiffWave(Chunk("data", kData))), kWaveReadError);
}

TEST(WaveReader, DataProblemsGiveASilentWave) {
    const Bytes fmt = Chunk("fmt ", FormatFields(1, 1, 8000, 16));
    EXPECT_TRUE(readsEmpty(RiffWave(fmt)));
    EXPECT_TRUE(readsEmpty(RiffWave(fmt + ChunkWithSize("data", 100, kData))));
    EXPECT_TRUE(readsEmpty(RiffWave(fmt + ChunkWithSize("data", 0xFFFFFFFF, kData))));
    // Chunk sizes that add up past 32 bits end the search instead of wrapping.
    EXPECT_TRUE(readsEmpty(RiffWaveWithSize(
        0xFFFFFFFF, fmt + ChunkWithSize("junk", 0xFFFFFFF0, kData) + Chunk("data", kData))));
    // An unknown RIFF size still finds chunks within the file.
    const Loaded<TIWave> wave =
        TIWave::Parse(RiffWaveWithSize(0xFFFFFFFF, fmt + Chunk("data", kData)));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->data, kData);
}

TEST(WaveReader, OddChunksWithAndWithoutPadding) {
    const Bytes fmt = Chunk("fmt ", FormatFields(1, 1, 8000, 8));
    const Bytes odd{1, 2, 3};
    for (bool pad : {true, false}) {
        const Loaded<TIWave> before =
            TIWave::Parse(RiffWave(Chunk("LIST", odd, pad) + fmt + Chunk("data", kData)));
        ASSERT_TRUE(before) << pad << before.error;
        EXPECT_EQ(before->data, kData);
        // An odd data chunk keeps its own bytes only.
        const Loaded<TIWave> oddData = TIWave::Parse(RiffWave(fmt + Chunk("data", odd, pad)));
        ASSERT_TRUE(oddData) << pad;
        EXPECT_EQ(oddData->data, odd);
    }
}

TEST(WaveReader, ReadsFromAFile) {
    TempDir dir;
    const Bytes bytes = PcmWave(2, 44100, 16, kData);
    const Loaded<TIWave> wave = TIWave::Read(dir.write("s.wav", bytes));
    ASSERT_TRUE(wave) << wave.error;
    EXPECT_EQ(wave->Channels(), 2);
    EXPECT_EQ(wave->SamplesPerSec(), 44100u);
    EXPECT_EQ(wave->BitsPerSample(), 16);
    EXPECT_EQ(wave->data, kData);
    // A data size far past the end of a file is refused before any allocation.
    const Bytes huge = RiffWave(Chunk("fmt ", FormatFields(1, 1, 8000, 16)) +
                                ChunkWithSize("data", 0xFFFFFFF0, kData));
    const Loaded<TIWave> refused = TIWave::Read(dir.write("huge.wav", huge));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->DataSize(), 0u);
}

} // namespace
