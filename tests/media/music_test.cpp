// Music: which player a name goes to, the logged commands and module calls
// of a start, stop and poll, the restarts of looping music and the lack of
// them after a failed play, the music key for every kind, zones and clips;
// the MIDI, CD and clip players on their own.
// The decoders are stand-ins; the MIDI length is measured for real.
#include "media/music_player.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "media/midi_length.h"
#include "media/music_decoders.h"
#include "media/music_devices.h"
#include "media/music_list.h"
#include "media/sound_output.h"
#include "platform/clock.h"
#include "support/test_support.h"

namespace {

// Plays `frames` frames of a constant value (for ever when negative).
class ConstantStream : public MusicStream {
  public:
    explicit ConstantStream(std::int64_t frames) : left_(frames) {}
    int Read(float* stereo, int frames) override {
        const int n = left_ < 0 ? frames : static_cast<int>(std::min<std::int64_t>(frames, left_));
        std::fill_n(stereo, 2 * n, 0.25f);
        if (left_ >= 0) left_ -= n;
        return n;
    }

  private:
    std::int64_t left_;
};

class FakeVideo : public VideoStream {
  public:
    std::int64_t LengthMs() const override { return 1000; }
    const VideoPicture* PictureAt(std::int64_t) override { return &picture_; }

  private:
    VideoPicture picture_{2, 2, std::vector<std::uint8_t>(12, 7)};
};

// A format-0 MIDI file: one note of `ticks` at 120 beats a minute, 480 ticks
// a beat (500 ms a beat).
std::vector<std::uint8_t> MidiFile(std::vector<std::uint8_t> events) {
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                                      0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
    const auto size = static_cast<std::uint32_t>(events.size());
    for (int shift : {24, 16, 8, 0}) file.push_back(static_cast<std::uint8_t>(size >> shift));
    file.insert(file.end(), events.begin(), events.end());
    return file;
}
const std::vector<std::uint8_t> kHalfSecondNote = {0x00, 0x90, 0x3C, 0x40, 0x83, 0x60, 0x80,
                                                   0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};

constexpr std::int64_t kTrackFrames = 4410; // 100 ms

class Music : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int n = 1; n <= 7; ++n) dir.write("CDAUDIO/TRACK0" + std::to_string(n) + ".WAV", "");
        dir.write("MUSIC/SONG.MOD", "module");
        dir.write("MUSIC/CLIP.AVI", "clip");
        dir.write("MUSIC/BROKEN.AVI", "clip");
        dir.write("MUSIC/HUGE.AVI", "clip");
        const auto midi = MidiFile(kHalfSecondNote);
        dir.write("MUSIC/SONG.MID", std::string(midi.begin(), midi.end()));
        decoders.module = [](const std::vector<std::uint8_t>&, bool) {
            return std::make_unique<ConstantStream>(-1);
        };
        decoders.midi = [](const std::vector<std::uint8_t>&) {
            return std::make_unique<ConstantStream>(-1);
        };
        decoders.audioFile = [](const std::string&) {
            return std::make_unique<ConstantStream>(kTrackFrames);
        };
        decoders.video = [](const std::string& path) -> Loaded<std::unique_ptr<VideoStream>> {
            if (path.find("BROKEN") != std::string::npos) return LoadFailure{};
            if (path.find("HUGE") != std::string::npos)
                return LoadFailure{"its pictures are 70000 x 70000 pixels"};
            return LoadedValue<std::unique_ptr<VideoStream>>(std::make_unique<FakeVideo>());
        };
        InstallMusicDecoders(decoders);
        MusicServices services;
        services.restartGameClock = [this] { ++clockRestarts; };
        services.clipStarting = [] { return false; };
        services.clipClosed = [this](bool) { ++clipsClosed; };
        services.clientWidth = [] { return 640; };
        services.clientHeight = [] { return 480; };
        services.windowHandle = [] { return 77u; };
        services.showMessage = [this](const std::string& text) { messages.push_back(text); };
        InstallMusicServices(services);
        UseVirtualClock(1000);
        CreateSoundOutput(SoundOutputKind::Capture);
        StartMusicLibrary();
        ASSERT_TRUE(CurrentMusicState().libraryReady);
        ClearMusicCommands(); // only the commands of the test itself
    }
    void TearDown() override {
        ResetMusicPlayer();
        CloseSoundOutput();
        InstallMusicDecoders({});
        InstallMusicServices({});
        UseRealClock();
        musicList = {};
    }
    void entry(int index, const std::string& file, bool loop = true, const std::string& clip = "") {
        musicList[static_cast<std::size_t>(index)] = {file, "", clip,
                                                      static_cast<std::uint8_t>(loop)};
    }
    // Sum of the absolute samples of the next frames of the mix.
    long pull(int frames) {
        std::vector<std::int16_t> out(2 * static_cast<std::size_t>(frames));
        PullSound(out.data(), frames);
        long sum = 0;
        for (std::int16_t v : out) sum += std::abs(v);
        return sum;
    }
    std::vector<std::string> sent() { return RecentMusicCommands(); }

    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    MusicDecoders decoders;
    int clockRestarts = 0;
    int clipsClosed = 0;
    std::vector<std::string> messages;
};

TEST(MusicKinds, NamesGoToTheirPlayersInOrder) {
    EXPECT_EQ(MusicKindOf("MUSIC/title.mod"), MusicKind::Module);
    EXPECT_EQ(MusicKindOf("song.xm"), MusicKind::Module);
    EXPECT_EQ(MusicKindOf("end.Mid"), MusicKind::Midi);
    EXPECT_EQ(MusicKindOf("CDAUDIO_7"), MusicKind::Cd);
    EXPECT_EQ(MusicKindOf("cdaudio_03"), MusicKind::Cd);
    EXPECT_EQ(MusicKindOf("CDAUDIO_"), MusicKind::Wave);
    EXPECT_EQ(MusicKindOf("CDAUDIO_MOD"), MusicKind::Module);
    EXPECT_EQ(MusicKindOf("MUSIC/CAVERNS.WAV"), MusicKind::Wave);
    EXPECT_EQ(CdTrackNumber("CDAUDIO_03"), 3);
    EXPECT_EQ(CdTrackNumber("CDAUDIO_X1"), std::nullopt);
    EXPECT_EQ(CdTrackNumber("CDAUDIO_2147483647"), 2147483647);
    EXPECT_EQ(CdTrackNumber("CDAUDIO_2147483648"), std::nullopt);
    EXPECT_EQ(CdTrackNumber("CDAUDIO_99999999999999999999"), std::nullopt);
}

TEST(MidiLength, FollowsTheTempoMapAndRefusesDamage) {
    EXPECT_EQ(MidiLengthMs(MidiFile(kHalfSecondNote)), 500);
    // Half-speed tempo after the first beat: 500 ms, then a beat of 250 ms,
    // the note held with running status.
    const std::vector<std::uint8_t> faster = {0x00, 0x90, 0x3C, 0x40, 0x83, 0x60, 0xFF,
                                              0x51, 0x03, 0x03, 0xD0, 0x90, 0x83, 0x60,
                                              0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(MidiLengthMs(MidiFile(faster)), 750);
    // 25 frames a second of 40 ticks: 1000 ticks a second.
    auto timecode = MidiFile({0x8F, 0x50, 0x90, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00});
    timecode[12] = 0xE7;
    timecode[13] = 0x28;
    EXPECT_EQ(MidiLengthMs(timecode), 2000);

    auto noDivision = MidiFile(kHalfSecondNote);
    noDivision[12] = noDivision[13] = 0;
    EXPECT_EQ(MidiLengthMs(noDivision), std::nullopt);
    const auto whole = MidiFile(kHalfSecondNote);
    for (std::size_t size : {0u, 13u, 22u, 30u})
        EXPECT_EQ(MidiLengthMs(std::span(whole.data(), size)), std::nullopt) << size;
    // Data bytes with no status before them.
    EXPECT_EQ(MidiLengthMs(MidiFile({0x00, 0x3C, 0x40})), std::nullopt);
}

TEST_F(Music, CdTrackPlaysToTheNextTrackExceptTheLast) {
    entry(3, "CDAUDIO_7");
    StartMusic(3);
    EXPECT_EQ(sent(),
              (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                        "status cdaudio number of tracks", "play cdaudio from 7"}));
    EXPECT_EQ(CurrentMusicState().kind, MusicKind::Cd);
    dir.write("CDAUDIO/TRACK08.WAV", "");
    dir.write("CDAUDIO/track9.ogg", "");
    StartMusic(3);
    EXPECT_EQ(sent().back(), "play cdaudio from 7 to 8");
    EXPECT_GT(pull(100), 0);
    StopMusic();
    EXPECT_EQ(sent().back(), "close cdaudio");
    EXPECT_EQ(pull(100), 0);
    EXPECT_EQ(CurrentMusicState().index, -1);
}

TEST_F(Music, CdNamesThatAreNoTrackPlayNothing) {
    for (const char* name : {"CDAUDIO_X1", "CDAUDIO_99999999999"}) {
        entry(4, name);
        StartMusic(4);
        for (const std::string& command : sent())
            EXPECT_FALSE(command.starts_with("open") || command.starts_with("play")) << command;
        for (int frame = 0; frame < 5; ++frame) PollMusic();
        EXPECT_EQ(clockRestarts, 0) << name;
    }
}

TEST_F(Music, LoopingMusicRestartsAtItsEndButNeverAfterAFailedPlay) {
    entry(3, "CDAUDIO_2");
    StartMusic(3);
    PollMusic();
    EXPECT_EQ(clockRestarts, 1);
    pull(static_cast<int>(kTrackFrames) + 10); // track 2, then the others up to 7
    pull(static_cast<int>(kTrackFrames) * 6);
    PollMusic();
    EXPECT_EQ(clockRestarts, 2);

    // A half-second MIDI file: restarted once its position reaches its length.
    entry(1, "MUSIC/SONG.MID");
    StartMusic(1);
    pull(22000);
    PollMusic();
    EXPECT_EQ(clockRestarts, 3);
    pull(100);
    PollMusic();
    EXPECT_EQ(clockRestarts, 4);
    EXPECT_EQ(sent()[sent().size() - 2], "open MUSIC/SONG.MID alias zique");

    // Without a track 12, or without a MIDI synthesizer, the status answers
    // stop the restarts: the game clock is not reset every frame.
    entry(5, "CDAUDIO_12");
    StartMusic(5);
    decoders.midi = nullptr;
    InstallMusicDecoders(decoders);
    entry(6, "MUSIC/SONG.MID");
    for (int index : {5, 6}) {
        StartMusic(index);
        const int restarts = clockRestarts;
        for (int frame = 0; frame < 10; ++frame) {
            pull(4410);
            PollMusic();
        }
        EXPECT_EQ(clockRestarts, restarts) << index;
    }
    // Nothing starts while no music is current.
    StopMusic();
    PollMusic();
    EXPECT_EQ(CurrentMusicState().index, -1);
}

TEST_F(Music, TheMusicKeyMutesAndRestoresEveryKind) {
    entry(0, "MUSIC/SONG.MOD");
    entry(1, "MUSIC/SONG.MID");
    entry(3, "CDAUDIO_1");
    for (int index : {0, 1, 3}) {
        SetMusicVolume(0);
        StartMusic(index); // a start while muted is silent too
        EXPECT_EQ(pull(100), 0) << index;
        SetMusicVolume(63);
        EXPECT_GT(pull(100), 0) << index;
        SetMusicVolume(0);
        EXPECT_EQ(pull(100), 0) << index;
        EXPECT_FALSE(CurrentMusicState().enabled);
        SetMusicVolume(63);
    }
    EXPECT_EQ(CurrentMusicState().moduleVolume, 63);
}

TEST_F(Music, ZonesStartTheirMusicOnceAndIgnoreIndicesOffTheList) {
    entry(2, "MUSIC/SONG.MOD");
    EnterMusicZone(2);
    EnterMusicZone(2);
    EXPECT_EQ(clockRestarts, 1);
    EXPECT_EQ(CurrentMusicState().index, 2);
    for (int index : {-1, 256, 1 << 30}) {
        EnterMusicZone(index); // an empty entry: the music stops, nothing starts
        EXPECT_EQ(CurrentMusicState().index, -1);
    }
    EXPECT_EQ(clockRestarts, 1);
}

TEST_F(Music, AClipPlaysOverTheWindowAndIsNotifiedAtItsEnd) {
    entry(5, "MUSIC/SONG.MOD", false, "MUSIC/CLIP.AVI");
    StartMusic(5);
    EXPECT_EQ(sent(), (std::vector<std::string>{
                          "Open MUSIC/CLIP.AVI alias VidClip", "Window Vidclip handle 77",
                          "put Vidclip destination at 0 0 640 480", "Play Vidclip notify window"}));
    EXPECT_TRUE(CurrentMusicState().clipPlaying);
    ASSERT_NE(CurrentClipPicture(), nullptr);
    AdvanceVirtualClock(999);
    EXPECT_FALSE(TakeClipEndNotice());
    AdvanceVirtualClock(1);
    EXPECT_TRUE(TakeClipEndNotice());
    EXPECT_FALSE(TakeClipEndNotice());
    CloseClip();
    EXPECT_EQ(sent().back(), "Close Vidclip");
    EXPECT_FALSE(CurrentMusicState().clipPlaying);
    EXPECT_EQ(CurrentClipPicture(), nullptr);

    // A missing clip does nothing; one that cannot be opened gives the
    // display back at once instead of a clip that never ends.
    entry(6, "MUSIC/SONG.MOD", false, "MUSIC/NONE.AVI");
    entry(7, "MUSIC/SONG.MOD", false, "MUSIC/BROKEN.AVI");
    StartMusic(6);
    EXPECT_EQ(sent().back(), "Close Vidclip");
    const int closed = clipsClosed;
    StartMusic(7);
    EXPECT_FALSE(CurrentMusicState().clipPlaying);
    EXPECT_EQ(clipsClosed, closed + 1);
    EXPECT_TRUE(messages.empty()); // unreadable clips stay as quiet as ever
}

TEST_F(Music, AClipTooLargeToDecodeIsRefusedByNameAndToldOnce) {
    entry(8, "MUSIC/SONG.MOD", false, "MUSIC/HUGE.AVI");
    entry(9, "MUSIC/SONG.MOD", false, "MUSIC/CLIP.AVI");
    for (int zone : {8, 8, 9}) StartMusic(zone);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "The clip MUSIC/HUGE.AVI is not played: its pictures are 70000 x "
                            "70000 pixels"}));
    EXPECT_EQ(CurrentMusicState().clipsRefused, 2);
    // The clip that did open is the one the state shows.
    EXPECT_EQ(CurrentMusicState().clipPicture.width, 0);
    ASSERT_NE(CurrentClipPicture(), nullptr);
    EXPECT_EQ(CurrentMusicState().clipPicture.width, 2);
}

TEST_F(Music, TheCdPlayerPlaysItsTracksInTurnAndRefusesWhatItLacks) {
    CdPlayer drive;
    EXPECT_EQ(drive.HighestTrack(), std::nullopt); // closed
    EXPECT_EQ(drive.Mode(), CdMode::Closed);
    EXPECT_FALSE(drive.Play(1, std::nullopt));
    ASSERT_TRUE(drive.Open());
    EXPECT_FALSE(drive.Open()); // open already
    EXPECT_EQ(drive.HighestTrack(), 7);
    EXPECT_EQ(sent(), (std::vector<std::string>{"status cdaudio number of tracks",
                                                "status cdaudio mode", "play cdaudio from 1",
                                                "open cdaudio", "set cdaudio time format tmsf",
                                                "open cdaudio", "set cdaudio time format tmsf",
                                                "status cdaudio number of tracks"}));

    // Tracks 5 and 6, not 7: two tracks' worth of sound, then silence.
    ASSERT_TRUE(drive.Play(5, 7));
    EXPECT_EQ(sent().back(), "play cdaudio from 5 to 7");
    EXPECT_GT(pull(static_cast<int>(2 * kTrackFrames) - 10), 0);
    EXPECT_EQ(drive.Mode(), CdMode::Playing);
    pull(10);
    EXPECT_EQ(pull(100), 0);
    EXPECT_EQ(drive.Mode(), CdMode::Stopped);

    // A track with no file, or no audio decoder: not ready, and silent.
    EXPECT_FALSE(drive.Play(9, std::nullopt));
    EXPECT_EQ(drive.Mode(), CdMode::NotReady);
    decoders.audioFile = nullptr;
    InstallMusicDecoders(decoders);
    EXPECT_FALSE(drive.Play(1, std::nullopt));
    EXPECT_EQ(drive.Mode(), CdMode::NotReady);
    EXPECT_EQ(pull(100), 0);
    drive.Close();
    EXPECT_EQ(drive.Mode(), CdMode::Closed);
}

TEST_F(Music, TheSequencerTellsPositionAndLengthOnlyOfAPlayThatStarted) {
    MidiPlayer sequencer;
    EXPECT_EQ(sequencer.PositionMs(), std::nullopt); // nothing open
    EXPECT_FALSE(sequencer.Play());
    for (const char* name : {"../outside.mid", "MUSIC/NONE.MID", "MUSIC/SONG.MOD"})
        EXPECT_FALSE(sequencer.Open(name)) << name;
    ASSERT_TRUE(sequencer.Open("MUSIC/SONG.MID"));
    EXPECT_FALSE(sequencer.Open("MUSIC/SONG.MID")); // open already
    ASSERT_TRUE(sequencer.Play());
    EXPECT_EQ(sequencer.LengthMs(), 500);
    pull(4410);
    EXPECT_EQ(sequencer.PositionMs(), 100);
    pull(44100);
    EXPECT_EQ(sequencer.PositionMs(), 500); // never past its length
    sequencer.Stop();
    EXPECT_EQ(pull(100), 0);

    decoders.midi = nullptr; // no synthesizer
    InstallMusicDecoders(decoders);
    EXPECT_FALSE(sequencer.Play());
    EXPECT_EQ(sequencer.PositionMs(), std::nullopt);
    EXPECT_EQ(sequencer.LengthMs(), std::nullopt);
    sequencer.Close();
    EXPECT_EQ(sent().back(), "close zique");
}

TEST_F(Music, TheCommandLogKeepsTheLastEight) {
    for (int i = 0; i < 11; ++i) LogMusicCommand("c" + std::to_string(i));
    const std::vector<std::string> log = sent();
    ASSERT_EQ(log.size(), kMusicCommandsKept);
    EXPECT_EQ(log.front(), "c3");
    EXPECT_EQ(log.back(), "c10");
    ResetMusicPlayer();
    EXPECT_TRUE(sent().empty());
}

} // namespace
