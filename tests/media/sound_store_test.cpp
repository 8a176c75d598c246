// Converted sounds shared between the buffers made from the same wave, the
// budget of all converted sound, and the sample rates refused.
#include "media/sound_store.h"

#include <gtest/gtest.h>

#include "media/sound_buffer.h"
#include "media/sound_output.h"
#include "media/wave_file.h"
#include "support/test_support.h"
#include "wave_fixture.h"

namespace {

// A mono 16-bit wave of `frames` frames at `rate`, its samples `value`.
Bytes monoWave(std::uint32_t rate, int frames, std::int16_t value = 1000) {
    return PcmWave(1, rate, 16, Samples16(std::vector<std::int16_t>(frames, value)));
}

class SoundStore : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateSoundOutput(SoundOutputKind::Capture);
        ASSERT_TRUE(SoundOutputReady());
        SetSoundRefusalHandler([this](const std::string& text) { told.push_back(text); });
        start = CurrentSoundStore();
    }
    void TearDown() override {
        for (TSoundBuffer*& sound : sounds) {
            delete sound;
            sound = nullptr;
        }
        StopVoices();
        CloseSoundOutput();
        SetSoundRefusalHandler(nullptr);
        SetSoundBudget(kDefaultSoundBudget);
    }
    // Loads `file` into the next of the test's sound slots.
    TSoundBuffer* load(const std::string& file) {
        TSoundBuffer*& slot = sounds[used++];
        EXPECT_TRUE(LoadSound(file, slot)) << file;
        return slot;
    }
    std::uint64_t bytesNow() const { return CurrentSoundStore().bytes - start.bytes; }
    std::int64_t refusedNow() const { return CurrentSoundStore().refused - start.refused; }
    std::int64_t convertedNow() const { return CurrentSoundStore().converted - start.converted; }

    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    std::vector<std::string> told;
    SoundStoreState start;
    TSoundBuffer* sounds[16] = {};
    int used = 0;
};

TEST_F(SoundStore, OneWaveIsConvertedOnceForEveryBufferAndFreedWithTheLast) {
    dir.write("SOUNDS/STEP.WAV", monoWave(22050, 1000));
    dir.write("SOUNDS/COPY.WAV", monoWave(22050, 1000));      // the same bytes by another name
    dir.write("SOUNDS/OTHER.WAV", monoWave(22050, 1000, -5)); // the same size, other samples
    // Five player records each load the step sound, as the definition file does.
    for (int player = 0; player < 5; ++player) load("SOUNDS/STEP.WAV");
    TSoundBuffer* copy = load("SOUNDS/COPY.WAV");
    TSoundBuffer* other = load("SOUNDS/OTHER.WAV");
    EXPECT_EQ(convertedNow(), 2);
    EXPECT_EQ(bytesNow(), 2u * 2000 * 2); // two conversions of 2000 frames
    for (int player = 1; player < 5; ++player)
        EXPECT_EQ(sounds[player]->Samples(), sounds[0]->Samples());
    EXPECT_EQ(copy->Samples(), sounds[0]->Samples());
    ASSERT_NE(other->Samples(), sounds[0]->Samples());
    EXPECT_EQ(other->Samples()->samples.front(), -5);

    // A voice still playing keeps the samples after every buffer is gone.
    SoundCamera camera;
    TriggerEffect(0, 0, 0, camera, sounds[0], 255);
    for (int i = 0; i < 6; ++i) {
        delete sounds[i];
        sounds[i] = nullptr;
    }
    EXPECT_EQ(bytesNow(), 2u * 2000 * 2);
    StopVoices();
    load("SOUNDS/OTHER.WAV"); // the next load lets go of the ended voice's samples
    EXPECT_EQ(bytesNow(), 2u * 2000);
    EXPECT_TRUE(told.empty());
}

TEST_F(SoundStore, SoundsBeyondTheBudgetAreRefusedByNameOnceAndTheRestPlay) {
    SetSoundBudget(start.bytes + 10000);
    dir.write("SOUNDS/A.WAV", monoWave(44100, 3000));      // 6000 bytes
    dir.write("SOUNDS/BIG.WAV", monoWave(44100, 3000, 7)); // 6000 more: beyond
    dir.write("SOUNDS/B.WAV", monoWave(44100, 1000, 9));   // 2000 more: within
    EXPECT_FALSE(load("SOUNDS/A.WAV")->Silent());
    for (int player = 0; player < 5; ++player) EXPECT_TRUE(load("SOUNDS/BIG.WAV")->Silent());
    EXPECT_FALSE(load("SOUNDS/B.WAV")->Silent());
    EXPECT_EQ(bytesNow(), 8000u);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("SOUNDS/BIG.WAV"), std::string::npos) << told[0];
    EXPECT_EQ(refusedNow(), 1);

    // Once the first sound is gone there is room again.
    delete sounds[0];
    sounds[0] = nullptr;
    EXPECT_FALSE(load("SOUNDS/BIG.WAV")->Silent());
    EXPECT_EQ(bytesNow(), 8000u);
}

TEST_F(SoundStore, RatesBelow4000HzAreRefusedWithTheirNameAndRate) {
    dir.write("SOUNDS/LOW.WAV", monoWave(100, 50));
    dir.write("SOUNDS/EDGE.WAV", monoWave(4000, 40));
    dir.write("SOUNDS/HIGH.WAV", monoWave(400000, 40));
    EXPECT_TRUE(load("SOUNDS/LOW.WAV")->Silent());
    EXPECT_TRUE(load("SOUNDS/HIGH.WAV")->Silent());
    TSoundBuffer* edge = load("SOUNDS/EDGE.WAV");
    ASSERT_FALSE(edge->Silent());
    EXPECT_EQ(edge->Samples()->Frames(), 441u);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0], "The sound SOUNDS/LOW.WAV is not played: its sample rate, 100 Hz, is below "
                       "4000 Hz.");
    EXPECT_NE(told[1].find("400000 Hz"), std::string::npos) << told[1];
    EXPECT_EQ(bytesNow(), 882u);
}

// The death sound of the report: 290 kB of 8-bit mono at 100 Hz would grow
// to 255 MB at the device's rate, five times over; refused, it takes nothing.
TEST_F(SoundStore, ALongWaveAtAVeryLowRateCostsNothing) {
    dir.write("SOUNDS/DEATH.WAV", PcmWave(1, 100, 8, Bytes(290000, 0x90)));
    for (int player = 0; player < 5; ++player) EXPECT_TRUE(load("SOUNDS/DEATH.WAV")->Silent());
    EXPECT_EQ(bytesNow(), 0u);
    EXPECT_EQ(convertedNow(), 0);
    EXPECT_EQ(told.size(), 1u);
}

TEST(SoundConversionSize, IsWhatTheConversionGives) {
    for (std::uint32_t rate : {4000u, 11025u, 22050u, 44100u, 48000u}) {
        const Loaded<TIWave> wave = TIWave::Parse(monoWave(rate, 777));
        ASSERT_TRUE(wave);
        const auto samples = ConvertToDeviceFormat(*wave);
        ASSERT_TRUE(samples);
        EXPECT_EQ(ConvertedSoundBytes(*wave), samples->samples.size() * 2) << rate;
    }
}

} // namespace
