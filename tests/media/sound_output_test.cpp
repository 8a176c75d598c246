// The sound output with a capture in place of the device: loading, the
// voices, interface sounds and what the mixer gives.
#include "media/sound_output.h"

#include <gtest/gtest.h>

#include "media/sound_buffer.h"
#include "media/wave_file.h"
#include "support/test_support.h"
#include "wave_fixture.h"

namespace {

constexpr int kFrames = 2000; // every sound lasts this long

class SoundOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("SOUNDS/TONE.WAV",
                  PcmWave(1, 44100, 16, Samples16(std::vector<std::int16_t>(kFrames, 10000))));
        dir.write("SOUNDS/BAD.WAV", RiffWave(Chunk("fmt ", Bytes(14, 0))));
        CreateSoundOutput(SoundOutputKind::Capture);
        ASSERT_TRUE(SoundOutputReady());
        ASSERT_TRUE(LoadSound("sounds\\tone.wav", tone));
        ASSERT_NE(tone, nullptr);
    }
    void TearDown() override {
        StopVoices();
        CloseSoundOutput();
    }

    // The next frames of the mix, as (left, right) sums of absolute values.
    std::pair<long, long> pull(int frames) {
        std::vector<std::int16_t> out(2 * frames);
        PullSound(out.data(), frames);
        long left = 0, right = 0;
        for (int i = 0; i < frames; ++i) {
            left += std::abs(out[2 * i]);
            right += std::abs(out[2 * i + 1]);
        }
        return {left, right};
    }

    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    TSoundBuffer* tone = nullptr;
    SoundCamera camera; // at the origin, looking down +Z, range 0 set below
};

TEST_F(SoundOutput, LoadingReplacesTheSoundAndAFailureLeavesNone) {
    TSoundBuffer* first = tone;
    ASSERT_TRUE(LoadSound("SOUNDS/TONE.WAV", tone));
    EXPECT_NE(tone, nullptr);
    (void)first; // freed by the load: never touched again

    const Loaded<> bad = LoadSound("SOUNDS/BAD.WAV", tone);
    EXPECT_EQ(bad.error, kNotAWaveFile);
    EXPECT_EQ(tone, nullptr);

    // Missing or outside the data folder: a silent sound, no error.
    for (const char* name : {"SOUNDS/NONE.WAV", "../TONE.WAV"}) {
        ASSERT_TRUE(LoadSound(name, tone)) << name;
        ASSERT_NE(tone, nullptr);
        EXPECT_TRUE(tone->Silent());
        TriggerEffect(0, 0, 0, camera, tone, 255);
        EXPECT_TRUE(PlayingVoices().empty());
    }
}

TEST_F(SoundOutput, EffectsTakeTheLowestFreeVoiceAndTheLastWhenAllPlay) {
    TriggerEffect(1, 2, 3, camera, tone, 255);
    TriggerEffect(4, 5, 6, camera, tone, 255); // the same effect twice: two voices
    std::vector<PlayingVoice> voices = PlayingVoices();
    ASSERT_EQ(voices.size(), 2u);
    EXPECT_EQ(voices[0].index, 0);
    EXPECT_EQ(voices[1].voice.x, 4);

    for (int i = 2; i < kVoiceCount; ++i) TriggerEffect(i, 0, 0, camera, tone, 255);
    TriggerEffect(-7, 0, 0, camera, tone, 255);
    voices = PlayingVoices();
    ASSERT_EQ(voices.size(), static_cast<std::size_t>(kVoiceCount));
    EXPECT_EQ(voices.back().voice.x, -7);
    EXPECT_EQ(voices[254].voice.x, 254);

    // Voices end with their sound and are free again.
    pull(kFrames);
    EXPECT_TRUE(PlayingVoices().empty());
}

TEST_F(SoundOutput, StoppingVoicesLeavesInterfaceSoundsPlaying) {
    TSoundBuffer* click = nullptr;
    ASSERT_TRUE(LoadSound("SOUNDS/TONE.WAV", click));
    PlayInterfaceSoundBuffer(click, false);
    TriggerEffect(0, 0, 0, camera, tone, 255);
    StopVoices();
    EXPECT_TRUE(PlayingVoices().empty());
    EXPECT_TRUE(click->Playing());
    EXPECT_GT(pull(10).first, 0);

    // A looping interface sound goes on past its end.
    PlayInterfaceSoundBuffer(click, true);
    pull(3 * kFrames);
    EXPECT_TRUE(click->Playing());
    click->Stop();
    EXPECT_EQ(pull(10).first, 0);
}

TEST_F(SoundOutput, PositionsAreHeardOnTheirSideAndFadeWithTheCamera) {
    camera.hearingRange = 10000;
    TriggerEffect(2500, 0, 0, camera, tone, 254); // to the right: pan 10000
    auto [left, right] = pull(100);
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 0);
    StopVoices();

    TriggerEffect(-1000, 0, 0, camera, tone, 254);
    std::tie(left, right) = pull(100);
    EXPECT_GT(left, right);
    EXPECT_GT(right, 0);

    // The camera moves away: the voice fades on the next update.
    SoundCamera away = camera;
    away.x = 20000;
    UpdateVoices(away);
    EXPECT_EQ(PlayingVoices().front().voice.level.volume, -10000);
    EXPECT_EQ(pull(100), std::make_pair(0L, 0L));
}

TEST(SoundOutputWithoutDevice, EveryOperationIsSilent) {
    // No device opener installed, as in headless runs and on machines
    // without a sound card.
    CreateSoundOutput(SoundOutputKind::Device);
    EXPECT_FALSE(SoundOutputReady());
    TSoundBuffer* sound = nullptr;
    EXPECT_TRUE(LoadSound("anything.wav", sound));
    EXPECT_EQ(sound, nullptr);
    TriggerEffect(0, 0, 0, SoundCamera{}, sound, 255);
    EXPECT_TRUE(PlayingVoices().empty());
    std::vector<std::int16_t> out(4, 1);
    PullSound(out.data(), 2);
    EXPECT_EQ(out, std::vector<std::int16_t>(4, 0));
    CloseSoundOutput();
}

} // namespace
