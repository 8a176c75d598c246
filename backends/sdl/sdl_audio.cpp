#include "backends/sdl/sdl_audio.h"

#include <SDL.h>
#include <dlfcn.h>

#include "backends/sdl/sdl_start.h"
#include "media/audio_device.h"
#include "media/pcm_convert.h"

namespace {

constexpr int kBufferFrames = 1024; // about 23 ms

bool started = false;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// On a machine without a sound card ALSA, which SDL loads at run time, prints
// its search for one on standard error. The game is silent there without a
// word, so ALSA's reports go nowhere. The library stays loaded: SDL uses the
// same instance, and the handler must outlive its use.
void quietAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(&ignoreAlsaError);
}

class SdlAudioDevice final : public AudioDevice {
  public:
    SdlAudioDevice(SDL_AudioDeviceID id, AudioPull pull) : id_(id), pull_(std::move(pull)) {}
    // Closing waits for a callback that is running.
    ~SdlAudioDevice() override {
        if (id_ != 0) SDL_CloseAudioDevice(id_);
    }

    static void Callback(void* self, Uint8* stream, int bytes) {
        auto* device = static_cast<SdlAudioDevice*>(self);
        device->pull_(reinterpret_cast<std::int16_t*>(stream), bytes / 4);
    }

    void Open(SDL_AudioDeviceID id) { id_ = id; }

  private:
    SDL_AudioDeviceID id_;
    AudioPull pull_;
};

std::unique_ptr<AudioDevice> openDevice(AudioPull pull) {
    // No audio subsystem (no driver, no sound card): silent, without a word.
    if (!started) {
        quietAlsa();
        started = StartSdlSubsystems(SDL_INIT_AUDIO);
    }
    if (!started) return nullptr;
    auto device = std::make_unique<SdlAudioDevice>(0, std::move(pull));
    SDL_AudioSpec wanted{};
    wanted.freq = kDeviceRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kBufferFrames;
    wanted.callback = &SdlAudioDevice::Callback;
    wanted.userdata = device.get();
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (id == 0) return nullptr;
    device->Open(id);
    SDL_PauseAudioDevice(id, 0);
    return device;
}

} // namespace

void InstallSdlAudio() {
    InstallAudioDeviceOpener(openDevice);
}

void StopSdlAudio() {
    InstallAudioDeviceOpener(nullptr);
    if (started) StopSdlSubsystems(SDL_INIT_AUDIO);
    started = false;
}
