#include "media/music_player.h"

#include <algorithm>

#include "media/mci.h"
#include "media/midas.h"
#include "media/music_bus.h"
#include "media/music_list.h"
#include "media/sound_buffer.h"
#include "media/sound_output.h"
#include "platform/files.h"

namespace {

constexpr int kFullModuleVolume = 63;
constexpr int kReplyLength = 20;
constexpr std::int32_t kSilentVolume = -10000;

MusicServices services;

// Which player the current (or last) music went to; stopping leaves them.
bool moduleActive = false, midiActive = false, cdActive = false;
bool libraryReady = false;
MIDASmodule loadedModule = 0;
MIDASmodulePlayHandle playingModule = 0;
TSoundBuffer* waveMusic = nullptr;
bool musicEnabled = true;
int moduleVolume = kFullModuleVolume;
bool clipPlaying = false;
bool clipWasFullScreen = false;

std::string statusReply(const std::string& command) {
    std::string reply;
    mciSendString(command, &reply, kReplyLength);
    return reply;
}

// MIDI, CD and wave music follow the music key as modules do.
void applyMute() {
    const float gain = musicEnabled ? 1.0f : 0.0f;
    TheMusicBus()->SetGain(MusicSlot::Sequencer, gain);
    TheMusicBus()->SetGain(MusicSlot::CdAudio, gain);
    if (waveMusic) waveMusic->SetVolume(musicEnabled ? 0 : kSilentVolume);
}

void startModule(const std::string& file) {
    if (!libraryReady) return;
    if (playingModule) MIDASstopModule(playingModule);
    playingModule = 0;
    MIDASfreeModule(loadedModule);
    loadedModule = MIDASloadModule(file);
    if (!loadedModule) return;
    playingModule = MIDASplayModule(loadedModule, currentMusicLoops != 0);
    MIDASsetMusicVolume(playingModule, musicEnabled ? kFullModuleVolume : 0);
}

// False when the track text is no number: nothing plays.
bool startCd(const std::string& file) {
    const auto track = CdTrackNumber(file);
    if (!track) return false;
    mciSendString("open cdaudio");
    mciSendString("set cdaudio time format tmsf");
    const std::string tracks = statusReply("status cdaudio number of tracks");
    std::string range;
    if (AllDigits(tracks) && tracks.size() <= 10 && *track < std::stoll(tracks))
        range = " to " + std::to_string(std::int64_t{*track} + 1);
    mciSendString("play cdaudio from " + std::to_string(*track) + range);
    return true;
}

void startWave(const std::string& file) {
    // A malformed file is as silent as a missing one: music has no message.
    if (!LoadSound(file, waveMusic)) waveMusic = nullptr;
    applyMute();
    PlayInterfaceSoundBuffer(waveMusic, currentMusicLoops != 0);
}

void playClip(const std::string& file) {
    if (!IsDataFileName(file) || !FileExists(file)) return;
    clipWasFullScreen = services.clipStarting ? services.clipStarting() : false;
    const int width = services.clientWidth ? services.clientWidth() : 0;
    const int height = services.clientHeight ? services.clientHeight() : 0;
    const std::uint64_t window = services.windowHandle ? services.windowHandle() : 0;
    // A clip that cannot be opened would never end: the display comes back
    // at once instead of waiting for it.
    if (mciSendString("Open " + file + " alias VidClip") != kMciOk) {
        if (services.clipClosed) services.clipClosed(clipWasFullScreen);
        return;
    }
    mciSendString("Window Vidclip handle " + std::to_string(window));
    mciSendString("put Vidclip destination at 0 0 " + std::to_string(width) + " " +
                  std::to_string(height));
    mciSendString(std::string("Play Vidclip notify ") +
                  (clipWasFullScreen ? "fullscreen" : "window"));
    clipPlaying = true;
    if (services.clipPlayingChanged) services.clipPlayingChanged(true);
}

} // namespace

void InstallMusicServices(MusicServices installed) {
    services = std::move(installed);
}

void StartMusicLibrary(int rate) {
    if (Mixer* mixer = SoundMixer()) mixer->SetMusic(TheMusicBus());
    libraryReady = false;
    if (!MIDASstartup()) return;
    constexpr bool kQuality = true;
    MIDASsetOption(1, rate);
    MIDASsetOption(11, kQuality ? 0 : 1);
    MIDASsetOption(2, 9);
    MIDASsetOption(10, 3);
    MIDASsetOption(5, 3);
    MIDASsetOption(6,
                   static_cast<std::intptr_t>(services.windowHandle ? services.windowHandle() : 0));
    MIDASsetOption(7, 0); // no DirectSound object: the library plays into our mixer
    MIDASsetOption(3, 256);
    MIDASsetOption(4, 4);
    libraryReady = MIDASinit() && MIDASstartBackgroundPlay(0) && MIDASopenChannels(33) &&
                   MIDASallocAutoEffectChannels(1);
}

void ShutdownMusicLibrary() {
    if (!libraryReady) return;
    MIDASstopBackgroundPlay();
    MIDASclose();
    libraryReady = false;
    playingModule = loadedModule = 0;
}

void StartMusic(std::int32_t index) {
    StopMusic();
    // An index from a level file may lie outside the list: an empty entry.
    if (index < 0 || index >= kMusicListSize) return;
    const MusicEntry& entry = musicList[static_cast<std::size_t>(index)];
    if (entry.file.empty()) return;
    currentMusic = index;
    currentMusicLoops = entry.loop;
    const MusicKind kind = MusicKindOf(entry.file);
    moduleActive = kind == MusicKind::Module;
    midiActive = kind == MusicKind::Midi;
    cdActive = kind == MusicKind::Cd;
    switch (kind) {
    case MusicKind::Module:
        startModule(entry.file);
        break;
    case MusicKind::Midi:
        mciSendString("open " + entry.file + " alias zique");
        mciSendString("play zique");
        break;
    case MusicKind::Cd:
        if (!startCd(entry.file)) return;
        break;
    default:
        startWave(entry.file);
        break;
    }
    if (!entry.clip.empty()) playClip(entry.clip);
    if (services.restartGameClock) services.restartGameClock();
}

void StopMusic() {
    if (playingModule) {
        MIDASstopModule(playingModule);
        playingModule = 0;
    } else if (midiActive) {
        mciSendString("stop zique");
        mciSendString("close zique");
    } else if (cdActive) {
        mciSendString("stop cdaudio");
        mciSendString("close cdaudio");
    } else if (waveMusic) {
        waveMusic->Stop();
        delete waveMusic;
        waveMusic = nullptr;
    }
    currentMusic = -1;
}

void PollMusic() {
    // Nothing starts while no music is current, whatever a late reply says.
    if (currentMusic < 0 || !currentMusicLoops) return;
    if (midiActive) {
        const std::string position = statusReply("status zique position");
        const std::string length = statusReply("status zique length");
        // A device that failed to play answers neither: no restart.
        const long long at =
            AllDigits(position) && position.size() <= 18 ? std::stoll(position) : -1;
        const long long end = AllDigits(length) && length.size() <= 18 ? std::stoll(length) : 0;
        if (at >= end) StartMusic(currentMusic);
    } else if (cdActive) {
        if (statusReply("status cdaudio mode") == "stopped") StartMusic(currentMusic);
    }
}

void SetMusicVolume(int volume) {
    moduleVolume = volume;
    musicEnabled = volume > 0;
    if (playingModule)
        MIDASsetMusicVolume(playingModule, static_cast<unsigned>(std::max(volume, 0)));
    applyMute();
}

void EnterMusicZone(std::int32_t music) {
    if (music != currentMusic) StartMusic(music);
}

void CloseClip() {
    mciSendString("Close Vidclip");
    if (services.clipClosed) services.clipClosed(clipWasFullScreen);
    clipPlaying = false;
    if (services.clipPlayingChanged) services.clipPlayingChanged(false);
}

MusicState CurrentMusicState() {
    MusicState state;
    state.index = currentMusic;
    if (currentMusic >= 0)
        state.kind = moduleActive ? MusicKind::Module
                     : midiActive ? MusicKind::Midi
                     : cdActive   ? MusicKind::Cd
                                  : MusicKind::Wave;
    state.loop = currentMusicLoops != 0;
    state.enabled = musicEnabled;
    state.moduleVolume = moduleVolume;
    state.libraryReady = libraryReady;
    state.clipPlaying = clipPlaying;
    return state;
}

void ResetMusicPlayer() {
    StopMusic();
    ShutdownMusicLibrary();
    ResetMci();
    delete waveMusic;
    waveMusic = nullptr;
    moduleActive = midiActive = cdActive = false;
    musicEnabled = true;
    moduleVolume = kFullModuleVolume;
    clipPlaying = clipWasFullScreen = false;
    currentMusic = -1;
    currentMusicLoops = 0;
    for (int slot = 0; slot < kMusicSlotCount; ++slot)
        TheMusicBus()->Stop(static_cast<MusicSlot>(slot));
}
