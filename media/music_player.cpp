#include "media/music_player.h"

#include <algorithm>
#include <optional>
#include <set>

#include "media/midas.h"
#include "media/music_bus.h"
#include "media/music_devices.h"
#include "media/music_list.h"
#include "media/sound_buffer.h"
#include "media/sound_output.h"
#include "platform/files.h"
#include "platform/text_case.h"

namespace {

constexpr int kFullModuleVolume = 63;
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
MidiPlayer midi;
CdPlayer cd;
ClipPlayer clip;
// The last clip opened, kept after it closed; the refused ones, each told once.
ClipSize clipSource, clipDecoded, clipPicture;
std::set<std::string> clipsTold;
std::int32_t clipsRefused = 0;

void tellClipRefusal(const std::string& file) {
    if (clip.Refusal().empty()) return;
    ++clipsRefused;
    if (clipsTold.insert(UpperAscii(file)).second && services.showMessage)
        services.showMessage(clip.Refusal());
}

// MIDI, CD and wave music follow the music key as modules do.
void applyMute() {
    const float gain = musicEnabled ? 1.0f : 0.0f;
    TheMusicBus()->SetGain(MusicSlot::Sequencer, gain);
    TheMusicBus()->SetGain(MusicSlot::CdAudio, gain);
    if (waveMusic) waveMusic->SetVolume(musicEnabled ? kMusicLevel : kSilentVolume);
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
    cd.Open();
    // A track before the last plays alone; the last plays to the end.
    const std::optional<std::int32_t> highest = cd.HighestTrack();
    std::optional<std::int64_t> to;
    if (highest && *track < *highest) to = std::int64_t{*track} + 1;
    cd.Play(*track, to);
    return true;
}

void startWave(const std::string& file) {
    // A malformed file is as silent as a missing one: music has no message.
    if (!LoadSound(file, waveMusic)) waveMusic = nullptr;
    if (waveMusic) waveMusic->SetBus(MixBus::Music);
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
    if (!clip.Open(file)) {
        tellClipRefusal(file);
        if (services.clipClosed) services.clipClosed(clipWasFullScreen);
        return;
    }
    clipSource = clip.SourceSize();
    clipDecoded = clip.DecodedSize();
    clipPicture = {};
    clip.Place(window, width, height);
    clip.Play(clipWasFullScreen);
    clipPlaying = true;
    if (services.clipPlayingChanged) services.clipPlayingChanged(true);
}

} // namespace

void InstallMusicServices(MusicServices installed) {
    services = std::move(installed);
}

void StartMusicLibrary() {
    if (Mixer* mixer = SoundMixer()) mixer->SetMusic(TheMusicBus());
    libraryReady = false;
    if (!MIDASstartup()) return;
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
        midi.Open(entry.file);
        midi.Play();
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
        midi.Stop();
        midi.Close();
    } else if (cdActive) {
        cd.Stop();
        cd.Close();
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
        const std::optional<std::int64_t> position = midi.PositionMs();
        const std::optional<std::int64_t> length = midi.LengthMs();
        // A sequencer that failed to play tells neither: no restart.
        if (position.value_or(-1) >= length.value_or(0)) StartMusic(currentMusic);
    } else if (cdActive) {
        if (cd.Mode() == CdMode::Stopped) StartMusic(currentMusic);
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
    clip.Close();
    if (services.clipClosed) services.clipClosed(clipWasFullScreen);
    clipPlaying = false;
    if (services.clipPlayingChanged) services.clipPlayingChanged(false);
}

bool TakeClipEndNotice() {
    return clip.TakeEndNotice();
}

const VideoPicture* CurrentClipPicture() {
    const VideoPicture* picture = clip.Picture();
    if (picture) clipPicture = {picture->width, picture->height};
    return picture;
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
    state.clipSource = clipSource;
    state.clipDecoded = clipDecoded;
    state.clipPicture = clipPicture;
    state.clipsRefused = clipsRefused;
    return state;
}

void ResetMusicPlayer() {
    StopMusic();
    ShutdownMusicLibrary();
    midi = {};
    cd = {};
    clip = {};
    ClearMusicCommands();
    delete waveMusic;
    waveMusic = nullptr;
    moduleActive = midiActive = cdActive = false;
    musicEnabled = true;
    moduleVolume = kFullModuleVolume;
    clipPlaying = clipWasFullScreen = false;
    clipSource = clipDecoded = clipPicture = {};
    clipsTold.clear();
    clipsRefused = 0;
    currentMusic = -1;
    currentMusicLoops = 0;
    for (int slot = 0; slot < kMusicSlotCount; ++slot)
        TheMusicBus()->Stop(static_cast<MusicSlot>(slot));
}
