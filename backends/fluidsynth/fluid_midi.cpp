#include "backends/fluidsynth/fluid_midi.h"

#include <cstdlib>
#include <fluidsynth.h>

#include "media/pcm_convert.h"
#include "platform/files.h"

namespace {

void silenceFluidSynth() {
    static const bool silenced = [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        return true;
    }();
    (void)silenced;
}

class MidiStream : public MusicStream {
  public:
    MidiStream(fluid_settings_t* settings, fluid_synth_t* synth, fluid_player_t* player)
        : settings_(settings), synth_(synth), player_(player) {}
    ~MidiStream() override {
        if (player_) {
            fluid_player_stop(player_);
            delete_fluid_player(player_);
        }
        if (synth_) delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }
    MidiStream(const MidiStream&) = delete;
    MidiStream& operator=(const MidiStream&) = delete;

    int Read(float* stereo, int frames) override {
        // The player's events are timed by the samples this call renders.
        fluid_synth_write_float(synth_, frames, stereo, 0, 2, stereo, 1, 2);
        return frames;
    }

    fluid_settings_t* settings_;
    fluid_synth_t* synth_;
    fluid_player_t* player_;
};

} // namespace

std::string SoundFontPath() {
    const char* named = std::getenv("KELVANE_SOUNDFONT");
    return named && *named ? named : kDefaultSoundFont;
}

std::unique_ptr<MusicStream> FluidMidi(const std::vector<std::uint8_t>& file) {
    silenceFluidSynth();
    const std::string soundFont = SoundFontPath();
    if (file.empty() || !FileExists(soundFont)) return nullptr;
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return nullptr;
    fluid_settings_setnum(settings, "synth.sample-rate", kDeviceRate);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setnum(settings, "synth.gain", 0.6); // near the modules' loudness
    auto stream = std::make_unique<MidiStream>(settings, new_fluid_synth(settings), nullptr);
    if (!stream->synth_ || fluid_synth_sfload(stream->synth_, soundFont.c_str(), 1) == FLUID_FAILED)
        return nullptr;
    stream->player_ = new_fluid_player(stream->synth_);
    if (!stream->player_ ||
        fluid_player_add_mem(stream->player_, file.data(), file.size()) != FLUID_OK ||
        fluid_player_play(stream->player_) != FLUID_OK)
        return nullptr;
    return stream;
}
