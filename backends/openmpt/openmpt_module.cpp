#include "backends/openmpt/openmpt_module.h"

#include <libopenmpt/libopenmpt.h>

#include "media/pcm_convert.h"

namespace {

class ModuleStream : public MusicStream {
  public:
    explicit ModuleStream(openmpt_module* module) : module_(module) {}
    ~ModuleStream() override { openmpt_module_destroy(module_); }
    ModuleStream(const ModuleStream&) = delete;
    ModuleStream& operator=(const ModuleStream&) = delete;

    int Read(float* stereo, int frames) override {
        int done = 0;
        // The library renders in pieces; 0 means the end of the music.
        while (done < frames) {
            const std::size_t got = openmpt_module_read_interleaved_float_stereo(
                module_, kDeviceRate, static_cast<std::size_t>(frames - done), stereo + 2 * done);
            if (got == 0) break;
            done += static_cast<int>(got);
        }
        return done;
    }

  private:
    openmpt_module* module_;
};

} // namespace

std::unique_ptr<MusicStream> OpenMptModule(const std::vector<std::uint8_t>& file, bool loop) {
    if (file.empty()) return nullptr;
    openmpt_module* module = openmpt_module_create_from_memory2(
        file.data(), file.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
        nullptr, nullptr, nullptr, nullptr);
    if (!module) return nullptr;
    openmpt_module_set_repeat_count(module, loop ? -1 : 0);
    openmpt_module_ctl_set_integer(module, "dither", 0);
    return std::make_unique<ModuleStream>(module);
}
