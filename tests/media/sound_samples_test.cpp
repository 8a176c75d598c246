// The conversion of wave samples to the device format, the mixer's gains and
// sums, and the volume and pan of positional sounds.
#include <cmath>

#include <gtest/gtest.h>

#include "media/mixer.h"
#include "media/pcm_convert.h"
#include "media/sound_position.h"
#include "media/wave_file.h"
#include "wave_fixture.h"

namespace {

std::optional<SoundSamples> convert(const Bytes& file) {
    const Loaded<TIWave> wave = TIWave::Parse(file);
    EXPECT_TRUE(wave) << wave.error;
    return ConvertToDeviceFormat(*wave);
}

Bytes waveWithTag(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                  const Bytes& data) {
    return RiffWave(Chunk("fmt ", FormatFields(tag, channels, rate, bits)) + Chunk("data", data));
}

TEST(SampleConversion, EveryPcmWidthAndFloatGiveTheSameSamples) {
    // Full scale down, half scale up, silence, as each encoding writes them.
    const std::vector<std::int16_t> expected{-32768, 16384, 0};
    const Bytes u8{0x00, 0xC0, 0x80};
    const Bytes s16 = Samples16({-32768, 16384, 0});
    const Bytes s24{0, 0, 0x80, 0, 0, 0x40, 0, 0, 0};
    const Bytes s32{0, 0, 0, 0x80, 0, 0, 0, 0x40, 0, 0, 0, 0};
    const Bytes f32{0, 0, 0x80, 0xBF, 0, 0, 0, 0x3F, 0, 0, 0, 0};
    const struct {
        std::uint16_t tag, bits;
        Bytes data;
    } cases[] = {{1, 8, u8}, {1, 16, s16}, {1, 24, s24}, {1, 32, s32}, {3, 32, f32}};
    for (const auto& c : cases) {
        const auto samples = convert(waveWithTag(c.tag, 1, 44100, c.bits, c.data));
        ASSERT_TRUE(samples) << c.bits;
        EXPECT_EQ(samples->channels, 1);
        EXPECT_EQ(samples->samples, expected) << c.bits;
    }
}

TEST(SampleConversion, StereoKeepsItsSidesAndOtherRatesAreResampled) {
    const auto stereo = convert(PcmWave(2, 44100, 16, Samples16({1000, -1000, 2000, -2000})));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->channels, 2);
    EXPECT_EQ(stereo->samples, (std::vector<std::int16_t>{1000, -1000, 2000, -2000}));

    // 22050 Hz: twice the frames, the new ones half-way between.
    const auto doubled = convert(PcmWave(1, 22050, 16, Samples16({0, 1000, 3000})));
    ASSERT_TRUE(doubled);
    EXPECT_EQ(doubled->samples, (std::vector<std::int16_t>{0, 500, 1000, 2000, 3000, 3000}));
}

TEST(SampleConversion, FormatsThatDoNotPlayAreSilent) {
    const Bytes data = Samples16({1, 2, 3, 4});
    EXPECT_FALSE(convert(waveWithTag(2, 1, 44100, 4, data)));          // ADPCM
    EXPECT_FALSE(convert(waveWithTag(1, 3, 44100, 16, Bytes(12, 0)))); // three channels
    EXPECT_FALSE(convert(waveWithTag(1, 1, 44100, 12, data)));         // 12-bit
    EXPECT_FALSE(convert(waveWithTag(1, 1, 50, 16, data)));            // rate below the device's
    EXPECT_FALSE(convert(waveWithTag(3, 1, 44100, 16, data)));         // 16-bit float
}

TEST(MixerGains, FollowTheDeviceCurves) {
    const SideGains full = VolumePanGains(0, 0);
    EXPECT_EQ(full.left, 1.0f);
    EXPECT_EQ(full.right, 1.0f);
    const SideGains quiet = VolumePanGains(-2000, 0); // -20 dB
    EXPECT_NEAR(quiet.left, 0.1, 1e-6);
    EXPECT_NEAR(quiet.right, 0.1, 1e-6);
    const SideGains right = VolumePanGains(0, 10000);
    EXPECT_EQ(right.left, 0.0f);
    EXPECT_EQ(right.right, 1.0f);
    const SideGains left = VolumePanGains(-600, -600);
    EXPECT_NEAR(left.left, std::pow(10.0, -0.3), 1e-6);
    EXPECT_NEAR(left.right, std::pow(10.0, -0.6), 1e-6);
    const SideGains silent = VolumePanGains(-10000, 0);
    EXPECT_EQ(silent.left, 0.0f);
    EXPECT_EQ(silent.right, 0.0f);
    // Out of range: clamped, never louder than recorded.
    EXPECT_EQ(VolumePanGains(500, 0).left, 1.0f);
    EXPECT_EQ(VolumePanGains(-20000, 0).left, 0.0f);
}

class ConstantSource : public AudioSource {
  public:
    void Render(float* stereo, int frames) override {
        for (int i = 0; i < 2 * frames; ++i) stereo[i] = 0.25f;
    }
};

std::shared_ptr<const SoundSamples> mono(std::vector<std::int16_t> samples) {
    return std::make_shared<const SoundSamples>(SoundSamples{1, std::move(samples)});
}

TEST(Mixer, SumsChannelsPlaysOnceOrLoopingAndLimits) {
    Mixer mixer;
    mixer.Assign(0, mono({1000, 2000, 3000}));
    mixer.Assign(1, mono({20000, 20000}));
    mixer.SetGains(1, SideGains{1.0f, 0.5f});
    mixer.Start(0, false);
    mixer.Start(1, true);
    std::vector<std::int16_t> out(8);
    mixer.Mix(out.data(), 4);
    // Left: the sums, under the limiter's threshold; right: the half-gain loop.
    EXPECT_EQ(out,
              (std::vector<std::int16_t>{21000, 11000, 22000, 12000, 23000, 13000, 20000, 10000}));
    EXPECT_FALSE(mixer.Playing(0)); // played to its end
    EXPECT_TRUE(mixer.Playing(1));

    // Played once again, it starts over from its beginning.
    mixer.Stop(1);
    mixer.Start(0, false);
    mixer.SetMusic(std::make_shared<ConstantSource>());
    mixer.Mix(out.data(), 1);
    // The music enters 6 dB down: a quarter of full scale adds 4106.
    EXPECT_EQ(out[0], 1000 + 4106);

    // Sums past full scale come out limited, under full scale.
    mixer.Assign(1, mono({30000, 30000}));
    mixer.Assign(2, mono({30000, 30000}));
    mixer.Start(1, true);
    mixer.Start(2, true);
    mixer.Mix(out.data(), 4);
    for (std::int16_t v : out) {
        EXPECT_GT(v, 29000);
        EXPECT_LT(v, 32767);
    }
}

// A run that only listens skips: channels move on and end exactly where
// mixing would have taken them.
TEST(Mixer, SkippingMovesChannelsOnAsMixingWould) {
    Mixer mixed, skipped;
    for (Mixer* mixer : {&mixed, &skipped}) {
        mixer->Assign(0, mono({1, 2, 3, 4, 5}));
        mixer->Assign(1, mono({7, 8}));
        mixer->Start(0, false);
        mixer->Start(1, true);
    }
    std::vector<std::int16_t> out(8);
    mixed.Mix(out.data(), 3);
    skipped.Skip(3);
    mixed.Mix(out.data(), 1);
    const std::int16_t mixedLeft = out[0];
    skipped.Mix(out.data(), 1);
    EXPECT_EQ(out[0], mixedLeft); // the same samples next: 4 + 8
    EXPECT_EQ(out[0], 12);
    skipped.Skip(1);
    EXPECT_FALSE(skipped.Playing(0)); // at its end
    EXPECT_TRUE(skipped.Playing(1));  // looping on
    skipped.Skip(0);
    skipped.Skip(-5);
    EXPECT_TRUE(skipped.Playing(1));
}

// The music bus carries the music source and channels marked as music, the
// effects bus every other channel; each bus's gain scales only its own.
TEST(Mixer, EachBusGainScalesOnlyItsOwnSounds) {
    Mixer mixer;
    const int music = mixer.ReserveChannel();
    mixer.SetChannelBus(music, MixBus::Music);
    mixer.Assign(0, mono({1000}));
    mixer.Assign(music, mono({2000}));
    std::vector<std::int16_t> out(2);
    const auto mixOnce = [&] {
        mixer.Start(0, false);
        mixer.Start(music, false);
        mixer.Mix(out.data(), 1);
        return out[0];
    };
    EXPECT_EQ(mixOnce(), 3000);
    mixer.SetBusGain(MixBus::Music, BusGainForPercent(50));
    EXPECT_EQ(mixOnce(), 1000 + 1000);
    mixer.SetBusGain(MixBus::Effects, BusGainForPercent(0));
    EXPECT_EQ(mixOnce(), 1000);
    mixer.SetBusGain(MixBus::Music, 0.0f);
    mixer.SetBusGain(MixBus::Effects, 1.0f);
    mixer.SetMusic(std::make_shared<ConstantSource>());
    EXPECT_EQ(mixOnce(), 1000); // the music source is on the silent music bus
    mixer.SetBusGain(MixBus::Music, 0.5f);
    EXPECT_EQ(mixOnce(), 1000 + 1000 + 2053);

    // A freed channel comes back on the effects bus.
    mixer.FreeChannel(music);
    EXPECT_EQ(mixer.ReserveChannel(), music);
    mixer.Assign(music, mono({2000}));
    mixer.SetMusic(nullptr);
    EXPECT_EQ(mixOnce(), 3000);

    // Percentages and gains outside their range are cut.
    EXPECT_EQ(BusGainForPercent(-5), 0.0f);
    EXPECT_EQ(BusGainForPercent(250), 1.0f);
    mixer.SetBusGain(MixBus::Music, 7.0f);
    EXPECT_EQ(mixer.BusGain(MixBus::Music), 1.0f);
    mixer.SetBusGain(MixBus::Music, std::nanf(""));
    EXPECT_EQ(mixer.BusGain(MixBus::Music), 0.0f);
}

TEST(Mixer, ReservedChannelsAreNotVoices) {
    Mixer mixer;
    const int a = mixer.ReserveChannel();
    const int b = mixer.ReserveChannel();
    EXPECT_GE(a, kVoiceCount);
    EXPECT_NE(a, b);
    mixer.FreeChannel(a);
    EXPECT_EQ(mixer.ReserveChannel(), a);
}

SoundCamera cameraAt(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t range = 10000) {
    SoundCamera camera;
    camera.x = x;
    camera.y = y;
    camera.z = z;
    camera.hearingRange = range;
    return camera;
}

TEST(PositionalSound, VolumeFadesWithDistanceAndLoudness) {
    const SoundCamera camera = cameraAt(100, 200, 300);
    EXPECT_EQ(PositionalVolumePan(camera, 100, 200, 300, 254).volume, -20);
    EXPECT_EQ(PositionalVolumePan(camera, 100, 200, 300, 0).volume, -2500);
    EXPECT_EQ(PositionalVolumePan(camera, 100, 200, 10300, 254).volume, -10000);
    EXPECT_EQ(PositionalVolumePan(camera, 100, 200, 90300, 0).volume, -10000);
    // Half the range: a = 5000.
    EXPECT_EQ(PositionalVolumePan(camera, 100, 200, 5300, 254).volume, 5000 * 511 / 512 - 10000);
}

TEST(PositionalSound, FullLoudnessIsHeardAnywhereWithTheSideItComesFrom) {
    SoundCamera camera = cameraAt(0, 0, 0);
    const VolumePan behindRight = PositionalVolumePan(camera, 50000, 0, -900000, 255);
    EXPECT_EQ(behindRight.volume, 0);
    EXPECT_EQ(behindRight.pan, 10000);
    EXPECT_EQ(PositionalVolumePan(camera, 2500, 0, 0, 100).pan, 10000);
    EXPECT_EQ(PositionalVolumePan(camera, -1000, 0, 0, 100).pan, -4000);
    // Turned half a turn, the camera hears the same source on its other side.
    camera.rows = {-1, 0, 0, 0, 1, 0, 0, 0, -1};
    EXPECT_EQ(PositionalVolumePan(camera, -1000, 0, 0, 100).pan, 4000);
}

TEST(PositionalSound, ExtremesStayInTheDevicesRange) {
    // Far apart on a large grid: silent, not loud from a wrapped distance.
    const SoundCamera corner = cameraAt(-2000000000, -2000000000, -2000000000, 24576);
    const VolumePan far = PositionalVolumePan(corner, 2000000000, 2000000000, 2000000000, 254);
    EXPECT_EQ(far.volume, -10000);
    EXPECT_EQ(far.pan, 10000);
    // No hearing range: heard only at the camera itself.
    const SoundCamera deaf = cameraAt(0, 0, 0, 0);
    EXPECT_EQ(PositionalVolumePan(deaf, 0, 0, 0, 254).volume, -20);
    EXPECT_EQ(PositionalVolumePan(deaf, 1, 0, 0, 254).volume, -10000);
    // Loudness out of 0..255 still gives a volume the device takes.
    const SoundCamera camera = cameraAt(0, 0, 0);
    EXPECT_EQ(PositionalVolumePan(camera, 0, 0, 0, 100000).volume, 0);
    EXPECT_EQ(PositionalVolumePan(camera, 0, 0, 0, -100000).volume, -10000);
}

} // namespace
