#include "media/midas.h"

#include <algorithm>
#include <vector>

#include "media/music_bus.h"
#include "media/music_decoders.h"
#include "media/sound_output.h"
#include "platform/files.h"

namespace {

constexpr unsigned kFullVolume = 64;

struct LoadedModule {
    MIDASmodule id = 0;
    std::vector<std::uint8_t> file;
};

bool started = false;
bool initialised = false;
// At most one module is loaded and one plays at a time in this game, but
// the handles are checked as the library would.
LoadedModule module;
MIDASmodule nextModule = 1;
MIDASmodulePlayHandle playing = 0;
MIDASmodulePlayHandle nextHandle = 1;

bool ready() {
    return started && initialised;
}

} // namespace

bool MIDASstartup() {
    started = static_cast<bool>(InstalledMusicDecoders().module);
    initialised = false;
    return started;
}

bool MIDASinit() {
    initialised = started && SoundMixer() != nullptr;
    return initialised;
}

bool MIDASstartBackgroundPlay(int) {
    return ready();
}

bool MIDASopenChannels(int channels) {
    return ready() && channels > 0;
}

bool MIDASallocAutoEffectChannels(int channels) {
    return ready() && channels >= 0;
}

bool MIDASstopBackgroundPlay() {
    if (!ready()) return false;
    MIDASstopModule(playing);
    return true;
}

bool MIDASclose() {
    MIDASfreeModule(module.id);
    started = initialised = false;
    return true;
}

MIDASmodule MIDASloadModule(const std::string& fileName) {
    // A name from a data file that leaves the data folder reads as missing.
    if (!ready() || !IsDataFileName(fileName)) return 0;
    auto bytes = ReadWholeFile(ResolvePath(fileName));
    if (!bytes) return 0;
    // Checked now, as the library reads the whole module at load.
    if (!InstalledMusicDecoders().module(*bytes, false)) return 0;
    module = {nextModule++, std::move(*bytes)};
    if (nextModule == 0) nextModule = 1;
    return module.id;
}

bool MIDASfreeModule(MIDASmodule id) {
    if (id == 0 || id != module.id) return false;
    module = {};
    return true;
}

MIDASmodulePlayHandle MIDASplayModule(MIDASmodule id, bool loop) {
    if (!ready() || id == 0 || id != module.id) return 0;
    auto stream = InstalledMusicDecoders().module(module.file, loop);
    if (!stream) return 0;
    TheMusicBus()->SetGain(MusicSlot::Module, 1.0f);
    TheMusicBus()->Play(MusicSlot::Module, std::move(stream));
    playing = nextHandle++;
    if (nextHandle == 0) nextHandle = 1;
    return playing;
}

bool MIDASstopModule(MIDASmodulePlayHandle handle) {
    if (handle == 0 || handle != playing) return false;
    TheMusicBus()->Stop(MusicSlot::Module);
    playing = 0;
    return true;
}

bool MIDASsetMusicVolume(MIDASmodulePlayHandle handle, unsigned volume) {
    if (handle == 0 || handle != playing) return false;
    TheMusicBus()->SetGain(MusicSlot::Module,
                           static_cast<float>(std::min(volume, kFullVolume)) / kFullVolume);
    return true;
}
