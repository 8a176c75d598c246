// The generated sounds and music, read back with strict parsers of their
// formats: what the game's readers and the music players will be given.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "datakit.h"
#include "music.h"
#include "support/test_support.h"

namespace {

struct Wave {
    int channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples; // interleaved
    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
    double seconds() const { return rate ? static_cast<double>(frames()) / rate : 0; }
};

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}

// A RIFF/WAVE PCM reader that insists on consistent sizes; "" or what is wrong.
std::string ParseWave(const std::vector<std::uint8_t>& b, Wave& wave) {
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return "not RIFF/WAVE";
    if (Le32(b, 4) != b.size() - 8) return "RIFF size is not the file size";
    bool format = false, data = false;
    for (std::size_t at = 12; at < b.size();) {
        if (at + 8 > b.size()) return "truncated chunk header";
        const std::string id(b.begin() + at, b.begin() + at + 4);
        const std::size_t size = Le32(b, at + 4);
        if (at + 8 + size > b.size()) return "chunk " + id + " runs past the end";
        if (id == "fmt ") {
            if (size < 16 || Le16(b, at + 8) != 1) return "not PCM";
            wave.channels = static_cast<int>(Le16(b, at + 10));
            wave.rate = static_cast<int>(Le32(b, at + 12));
            const std::uint32_t perSecond = Le32(b, at + 16), align = Le16(b, at + 20);
            wave.bits = static_cast<int>(Le16(b, at + 22));
            if (align != static_cast<std::uint32_t>(wave.channels * wave.bits / 8) ||
                perSecond != static_cast<std::uint32_t>(wave.rate) * align)
                return "inconsistent format";
            format = true;
        } else if (id == "data") {
            if (!format || wave.bits != 16 || size % (2 * wave.channels) != 0)
                return "bad data chunk";
            for (std::size_t i = 0; i < size; i += 2)
                wave.samples.push_back(static_cast<std::int16_t>(Le16(b, at + 8 + i)));
            data = true;
        }
        at += 8 + size + (size & 1);
    }
    return format && data ? "" : "missing fmt or data";
}

// Per-channel checks of level, offset and the ends.
struct Shape {
    int peak = 0;
    int clipped = 0;
    double mean = 0;
    int first = 0, last = 0, wrapJump = 0, typicalStep = 0;
};
Shape ShapeOf(const Wave& w, int channel) {
    Shape s;
    std::vector<int> steps;
    const std::size_t n = w.frames();
    for (std::size_t i = 0; i < n; ++i) {
        const int v = w.samples[i * w.channels + channel];
        s.peak = std::max(s.peak, std::abs(v));
        s.clipped += std::abs(v) >= 32766;
        s.mean += v;
        if (i > 0) steps.push_back(std::abs(v - w.samples[(i - 1) * w.channels + channel]));
    }
    s.mean /= static_cast<double>(n);
    s.first = w.samples[channel];
    s.last = w.samples[(n - 1) * w.channels + channel];
    s.wrapJump = std::abs(s.first - s.last);
    const auto ninety = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() * 9 / 10);
    std::nth_element(steps.begin(), ninety, steps.end());
    s.typicalStep = *ninety; // most steps are no larger
    return s;
}

Wave ReadWave(const std::string& file) {
    Wave w;
    const std::string error = ParseWave(ReadBytes(file), w);
    EXPECT_EQ(error, "") << file;
    return w;
}

void ExpectSeamlessLoop(const Wave& w, const std::string& name) {
    for (int c = 0; c < w.channels; ++c) {
        const Shape s = ShapeOf(w, c);
        EXPECT_LE(s.wrapJump, s.typicalStep) << name << ": a click where the loop turns";
        EXPECT_LT(std::abs(s.first), 1000) << name << ": the loop doesn't start near zero";
        EXPECT_LT(std::abs(s.last), 1000) << name << ": the loop doesn't end near zero";
    }
}

const char* const kOneShots[] = {
    "INTERF/CHOIX.WAV",  "INTERF/CLIC.WAV",   "INTERF/TIMER.WAV", "SOUNDS/STEP.WAV",
    "SOUNDS/HURT.WAV",   "SOUNDS/DEATH.WAV",  "SOUNDS/SEEN.WAV",  "SOUNDS/LOST.WAV",
    "SOUNDS/DIG.WAV",    "SOUNDS/REFILL.WAV", "SOUNDS/LEVER.WAV", "SOUNDS/DOOR.WAV",
    "SOUNDS/INGOT.WAV",  "SOUNDS/TIMER.WAV",  "SOUNDS/LIFE.WAV",  "SOUNDS/LIGHT.WAV",
    "SOUNDS/SPRING.WAV", "SOUNDS/PUSH.WAV",   "SOUNDS/SENSOR.WAV"};
const char* const kLoops[] = {"SOUNDS/LAVA.WAV", "SOUNDS/WATER.WAV", "SOUNDS/TORCH.WAV",
                              "SOUNDS/HUM.WAV"};

std::set<std::string> FilesUnder(const std::filesystem::path& root) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.insert(std::filesystem::relative(entry.path(), root).generic_string());
    return files;
}

TEST(AudioSet, SoundEffectsAreCleanNormalisedMonoWaves) {
    TempDir dir;
    const DataKit kit{dir.path(), dir.path()};
    GenerateSounds(kit);
    std::set<std::string> expected(std::begin(kOneShots), std::end(kOneShots));
    expected.insert(std::begin(kLoops), std::end(kLoops));
    EXPECT_EQ(FilesUnder(dir.path()), expected);

    for (const std::string& name : expected) {
        const Wave w = ReadWave(dir.file(name));
        EXPECT_EQ(w.channels, 1) << name;
        EXPECT_EQ(w.rate, 22050) << name;
        const Shape s = ShapeOf(w, 0);
        EXPECT_EQ(s.clipped, 0) << name;
        EXPECT_GT(s.peak, 0.3 * 32767) << name << ": not normalised";
        EXPECT_LT(std::fabs(s.mean), 0.01 * 32767) << name << ": carries a DC offset";
        const bool loop = std::find(std::begin(kLoops), std::end(kLoops), name) != std::end(kLoops);
        if (loop) {
            EXPECT_GE(w.seconds(), 1.5) << name;
            EXPECT_LE(w.seconds(), 5.0) << name;
            ExpectSeamlessLoop(w, name);
        } else {
            EXPECT_GE(w.seconds(), 0.015) << name;
            EXPECT_LE(w.seconds(), 3.0) << name;
            EXPECT_LT(std::abs(s.first), 330) << name << ": starts with a click";
            EXPECT_LT(std::abs(s.last), 330) << name << ": ends with a click";
        }
    }

    // The same bytes every time.
    TempDir again;
    GenerateSounds({again.path(), again.path()});
    for (const std::string& name : expected)
        EXPECT_EQ(ReadBytes(dir.file(name)), ReadBytes(again.file(name))) << name;
}

// --- the module ----------------------------------------------------------------

std::uint32_t Be16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] << 8 | b[at + 1];
}

TEST(AudioSet, TitleModuleIsAValidFourChannelModuleOfAboutAMinute) {
    const std::vector<std::uint8_t> b = music::TitleModule();
    ASSERT_GT(b.size(), 1084u);
    EXPECT_EQ(std::string(b.begin() + 1080, b.begin() + 1084), "M.K.");
    const int orders = b[950];
    ASSERT_GE(orders, 1);
    ASSERT_LE(orders, 128);
    int patterns = 0;
    for (int i = 0; i < 128; ++i) patterns = std::max(patterns, b[952 + i] + 1);
    std::size_t sampleBytes = 0;
    std::vector<bool> hasData(32, false);
    for (int s = 0; s < 31; ++s) {
        const std::size_t at = 20 + 30 * s;
        const std::size_t words = Be16(b, at + 22), start = Be16(b, at + 26),
                          loop = Be16(b, at + 28);
        EXPECT_LE(b[at + 25], 64) << "volume of sample " << s + 1;
        EXPECT_GE(loop, 1u);
        if (loop > 1) {
            EXPECT_LE(start + loop, words) << "loop of sample " << s + 1 << " outside it";
        }
        hasData[s + 1] = words > 0;
        sampleBytes += 2 * words;
    }
    ASSERT_EQ(b.size(), 1084 + 1024u * patterns + sampleBytes) << "pattern count vs order table";

    static const std::set<int> kPeriods = {
        856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
        302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
    int notes[4] = {};
    for (int p = 0; p < patterns; ++p)
        for (int row = 0; row < 64; ++row)
            for (int c = 0; c < 4; ++c) {
                const std::size_t at = 1084 + 1024 * p + 16 * row + 4 * c;
                const int period = (b[at] & 0x0F) << 8 | b[at + 1];
                const int sample = (b[at] & 0xF0) | b[at + 2] >> 4;
                const int effect = b[at + 2] & 0x0F;
                if (period != 0) {
                    EXPECT_TRUE(kPeriods.count(period)) << "period " << period;
                    EXPECT_TRUE(sample > 0 && hasData[sample]) << "note without a sample";
                    ++notes[c];
                }
                if (effect == 0xC) {
                    EXPECT_LE(b[at + 3], 64);
                }
            }
    for (int c = 0; c < 4; ++c) EXPECT_GE(notes[c], 30) << "channel " << c + 1 << " hardly plays";
    // At speed 6 and 125 beats a minute a row lasts 0.12 s.
    const double seconds = orders * 64 * 0.12;
    EXPECT_GT(seconds, 45);
    EXPECT_LT(seconds, 100);
    EXPECT_EQ(music::TitleModule(), b);
}

// --- the MIDI file ---------------------------------------------------------------

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

TEST(AudioSet, EndingMidiHasSoundChunksTracksAndNotes) {
    const std::vector<std::uint8_t> b = music::EndingMidi();
    ASSERT_GE(b.size(), 14u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
    EXPECT_EQ(Be32(b, 4), 6u);
    EXPECT_EQ(Be16(b, 8), 1u); // format 1
    const std::size_t tracks = Be16(b, 10);
    const std::uint32_t division = Be16(b, 12);
    ASSERT_GT(division, 0u);
    std::size_t at = 14, found = 0;
    std::map<std::uint32_t, std::uint32_t> tempo; // tick -> microseconds per quarter
    std::uint32_t lastTick = 0;
    std::set<int> programmed, played;
    while (at < b.size()) {
        ASSERT_LE(at + 8, b.size());
        ASSERT_EQ(std::string(b.begin() + at, b.begin() + at + 4), "MTrk");
        const std::size_t end = at + 8 + Be32(b, at + 4);
        ASSERT_LE(end, b.size()) << "track " << found << " runs past the file";
        std::size_t i = at + 8;
        std::uint32_t tick = 0;
        int status = 0;
        bool ended = false;
        std::map<int, int> open; // channel * 128 + pitch -> count
        while (i < end) {
            ASSERT_FALSE(ended) << "events after the end of track " << found;
            std::uint32_t delta = 0;
            int bytes = 0;
            do {
                ASSERT_LT(i, end);
                delta = delta << 7 | (b[i] & 0x7F);
                ASSERT_LE(++bytes, 4) << "overlong delta";
            } while (b[i++] & 0x80);
            tick += delta;
            ASSERT_LT(i, end);
            if (b[i] & 0x80) status = b[i++];
            ASSERT_NE(status, 0) << "data byte without a status";
            if (status == 0xFF) {
                ASSERT_LT(i + 1, end);
                const int type = b[i];
                const std::size_t length = b[i + 1]; // our meta events are short
                ASSERT_LT(length, 0x80u);
                ASSERT_LE(i + 2 + length, end);
                if (type == 0x51) tempo[tick] = b[i + 2] << 16 | b[i + 3] << 8 | b[i + 4];
                if (type == 0x2F) ended = true;
                i += 2 + length;
                status = 0;
                continue;
            }
            const int kind = status & 0xF0, channel = status & 0x0F;
            const std::size_t size = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
            ASSERT_LE(i + size, end);
            for (std::size_t k = 0; k < size; ++k) ASSERT_LT(b[i + k], 0x80);
            if (kind == 0xC0) programmed.insert(channel);
            const int key = channel * 128 + b[i];
            if (kind == 0x90 && b[i + 1] > 0) {
                ++open[key];
                played.insert(channel);
            } else if (kind == 0x80 || kind == 0x90) {
                ASSERT_GT(open[key], 0) << "note-off without a note";
                --open[key];
            }
            i += size;
        }
        EXPECT_TRUE(ended) << "track " << found << " lacks its end-of-track event";
        for (const auto& [key, count] : open)
            EXPECT_EQ(count, 0) << "note " << key << " never released";
        lastTick = std::max(lastTick, tick);
        at = end;
        ++found;
    }
    EXPECT_EQ(found, tracks);
    EXPECT_GE(played.size(), 5u);
    for (int channel : played)
        if (channel != 9) {
            EXPECT_TRUE(programmed.count(channel)) << "channel " << channel << " has no instrument";
        }
    ASSERT_FALSE(tempo.empty());
    ASSERT_EQ(tempo.begin()->first, 0u);
    double seconds = 0;
    for (auto it = tempo.begin(); it != tempo.end(); ++it) {
        const auto next = std::next(it);
        const std::uint32_t until = next == tempo.end() ? lastTick : next->first;
        seconds += (until - it->first) * (it->second / 1e6) / division;
    }
    EXPECT_GT(seconds, 50);
    EXPECT_LT(seconds, 120);
    EXPECT_EQ(music::EndingMidi(), b);
}

// --- the wave music ----------------------------------------------------------------

TEST(AudioSet, WaveMusicAndCdTracksFitTheBudget) {
    TempDir dir;
    GenerateMusic({dir.path(), dir.path()});
    EXPECT_EQ(FilesUnder(dir.path()),
              (std::set<std::string>{"MUSIC/TITLE.MOD", "MUSIC/ENDING.MID", "MUSIC/CAVERNS.WAV",
                                     "CDAUDIO/TRACK02.WAV", "CDAUDIO/TRACK03.WAV"}));
    std::uintmax_t total = 0;
    for (const std::string& name : FilesUnder(dir.path()))
        total += std::filesystem::file_size(dir.file(name));

    const Wave caverns = ReadWave(dir.file("MUSIC/CAVERNS.WAV"));
    EXPECT_EQ(caverns.rate, 22050);
    EXPECT_GE(caverns.seconds(), 20);
    EXPECT_LT(std::filesystem::file_size(dir.file("MUSIC/CAVERNS.WAV")), 4'500'000u);
    ExpectSeamlessLoop(caverns, "caverns");

    for (const char* name : {"CDAUDIO/TRACK02.WAV", "CDAUDIO/TRACK03.WAV"}) {
        const Wave w = ReadWave(dir.file(name));
        EXPECT_EQ(w.channels, 2) << name;
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << name;
        EXPECT_GT(w.seconds(), 45) << name;
        EXPECT_LT(w.seconds(), 90) << name;
        for (int c = 0; c < 2; ++c) {
            const Shape s = ShapeOf(w, c);
            EXPECT_EQ(s.clipped, 0) << name;
            EXPECT_GT(s.peak, 0.5 * 32767) << name;
            EXPECT_LT(std::abs(s.first), 330) << name;
            EXPECT_LT(std::abs(s.last), 330) << name;
        }
    }
    // All the music stays well inside the data set's audio budget.
    EXPECT_LT(total, 17'000'000u);
    EXPECT_EQ(music::CdTrack(3), ReadBytes(dir.file("CDAUDIO/TRACK03.WAV")));
    EXPECT_EQ(music::CavernsWave(), ReadBytes(dir.file("MUSIC/CAVERNS.WAV")));
    EXPECT_THROW(music::CdTrack(4), std::invalid_argument);
}

} // namespace
