// The instruments and effects the sounds and music are made of: notes that
// begin and end without clicks, seamless module loops, echo and reverb
// timing, and the timing of rendered scores.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "music_midi.h"
#include "music_render.h"
#include "music_samples.h"
#include "synth_voices.h"

using namespace synth;

namespace {

constexpr double R = 22050;

struct Named {
    const char* name;
    std::function<Signal()> make;
};

TEST(AudioVoices, EveryVoiceStartsAndEndsInSilence) {
    const Named voices[] = {
        {"kick", [] { return Kick(R); }},
        {"snare", [] { return Snare(R, 3); }},
        {"closed hat", [] { return HiHat(R, 4, false); }},
        {"open hat", [] { return HiHat(R, 4, true); }},
        {"cymbal", [] { return Cymbal(R, 5, 0.8); }},
        {"tom", [] { return Tom(R, 120); }},
        {"clap", [] { return Clap(R, 6); }},
        {"shaker", [] { return Shaker(R, 7); }},
        {"rim", [] { return Rim(R); }},
        {"pluck", [] { return Pluck(R, 330, 0.3, 0.7, 0.6, 8); }},
        {"fm", [] { return FmNote(R, 440, 0.4, FmSettings{}); }},
        {"lead", [] { return LeadNote(R, 523, 0.5, LeadSettings{}); }},
        {"bass", [] { return BassNote(R, 55, 0.3, 1.0); }},
        {"pad", [] { return PadNote(R, 220, 1.0, 0.5, 9); }},
        {"flute", [] { return FluteNote(R, 660, 0.6, 10); }},
    };
    for (const Named& v : voices) {
        const Signal s = v.make();
        ASSERT_GT(s.size(), 100u) << v.name;
        const double peak = Peak(s);
        EXPECT_TRUE(std::isfinite(peak)) << v.name;
        EXPECT_GT(peak, 0.05) << v.name;
        EXPECT_LT(peak, 2.5) << v.name;
        EXPECT_LT(std::fabs(s.front()), 0.02 * peak) << v.name << " starts with a click";
        EXPECT_LT(std::fabs(s.back()), 0.01 * peak) << v.name << " ends with a click";
    }
}

TEST(AudioVoices, ReleasingDuringTheAttackFallsFromWhereItWas) {
    const Adsr e{0.1, 0.2, 0.5, 0.05};
    const double atRelease = AdsrAt(e, 0.04, 0.04);
    EXPECT_NEAR(atRelease, 0.4, 1e-9);
    EXPECT_NEAR(AdsrAt(e, 0.04 + 1e-6, 0.04), atRelease, 1e-3); // no jump up to the peak
    EXPECT_NEAR(AdsrAt(e, 0.04 + 0.05, 0.04), 0.0, 1e-12);
    EXPECT_EQ(AdsrAt(e, -0.01, 1.0), 0.0);
    EXPECT_NEAR(AdsrAt(e, 0.5, 1.0), 0.5, 1e-9); // sustained
}

TEST(AudioVoices, LoopedToneRepeatsWithoutASeam) {
    music::LoopedTone tone;
    tone.loop = music::LoopFor(261.63, 32, 16574.27);
    tone.attack = 2000;
    tone.swell = 1.5;
    for (int h = 1; h <= 6; ++h) tone.partials.push_back({32 * h, 1.0 / h, 1.0, 0.1 * h});
    const Signal s = RenderLoopedTone(tone, 16574.27);
    ASSERT_EQ(s.size(), tone.attack + tone.loop);
    // Playing past the end goes back to the loop start: the step there is
    // like any other step inside the loop.
    double biggest = 0;
    for (std::size_t i = tone.attack + 1; i < s.size(); ++i)
        biggest = std::max(biggest, std::fabs(s[i] - s[i - 1]));
    EXPECT_LE(std::fabs(s[tone.attack] - s.back()), biggest);
    // The opening has settled exactly into the loop when the loop begins.
    EXPECT_LE(std::fabs(s[tone.attack] - s[tone.attack - 1]), biggest);
    EXPECT_LT(std::fabs(s[0]), 1e-9);
}

TEST(AudioEffects, EchoRepeatsAtItsDelayAndDiesAway) {
    Signal s(100, 0.0);
    s[0] = 1.0;
    Echo(s, 1000, 0.05, 0.5, 1.0, 450); // repeats every 50 samples at rate 1000
    ASSERT_GT(s.size(), 100u + 50 * 9);
    // Energy arrives around each repeat, halving each time.
    const auto around = [&](std::size_t at) {
        double sum = 0;
        for (std::size_t i = at; i < at + 10 && i < s.size(); ++i) sum += s[i];
        return sum;
    };
    EXPECT_NEAR(around(50), 1.0, 0.05);
    EXPECT_NEAR(around(100), 0.5, 0.05);
    EXPECT_NEAR(around(150), 0.25, 0.05);
    EXPECT_LT(std::fabs(s.back()), 1e-3);
}

TEST(AudioEffects, ReverbOfSilenceIsSilentAndATailFades) {
    Stereo silence;
    Resize(silence, 1000);
    const Stereo quiet = Reverb(silence, R, {}, 0.5);
    EXPECT_EQ(Peak(quiet), 0.0);
    Stereo click;
    Resize(click, 10);
    click.left[0] = click.right[0] = 1.0;
    const Stereo tail = Reverb(click, R, {0.8, 0.4, 1.0}, 4.0);
    ASSERT_EQ(tail.left.size(), 10 + Samples(4.0, R));
    const Signal early(tail.left.begin() + 2000, tail.left.begin() + 6000);
    const Signal late(tail.left.end() - 4000, tail.left.end());
    EXPECT_GT(Peak(early), 0.0);
    EXPECT_LT(Peak(late), 0.001 * Peak(early)); // -60 dB within four seconds
    EXPECT_NE(tail.left, tail.right);           // a stereo room, not a mono copy
}

TEST(AudioRender, NotesLandOnTheirStepsWithSwingOnTheOffBeats) {
    const music::Timing straight{1000, 60, 0}; // a step lasts 250 samples
    const music::Timing swung{1000, 60, 0.5};
    EXPECT_EQ(straight.At(4), 1000u);
    EXPECT_EQ(swung.At(2), 625u); // the off-beat eighth comes half a step late
    EXPECT_EQ(swung.At(4), 1000u);
    EXPECT_EQ(swung.At(1), 250u);
    const Signal line =
        RenderPart({{4, 2, 69, 127}}, straight, [](double, double held, int, std::uint32_t) {
            return Signal(static_cast<std::size_t>(held * 1000), 1.0);
        });
    ASSERT_EQ(line.size(), 1500u);
    EXPECT_EQ(line[999], 0.0);
    EXPECT_EQ(line[1000], 1.0);

    const auto chord = music::ParseChords("F#m7", 0)[0];
    const auto notes = music::ChordNotes(chord, 55, 0, 16, 90);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].pitch, 66); // F#4: the first F# at or above G3
    EXPECT_EQ(notes[3].pitch, 76);
}

TEST(AudioMidi, MetaEventsCarryTempoMeterAndKey) {
    music::MidiTrack track{"c", {}};
    music::AddTempo(track, 0, 120);
    music::AddTimeSignature(track, 0, 6, 8);
    music::AddKeySignature(track, 0, -2, true);
    ASSERT_EQ(track.events.size(), 3u);
    EXPECT_EQ(track.events[0].bytes, (std::vector<std::uint8_t>{0xFF, 0x51, 3, 0x07, 0xA1, 0x20}));
    EXPECT_EQ(track.events[1].bytes, (std::vector<std::uint8_t>{0xFF, 0x58, 4, 6, 3, 24, 8}));
    EXPECT_EQ(track.events[2].bytes, (std::vector<std::uint8_t>{0xFF, 0x59, 2, 0xFE, 1}));
}

} // namespace
