// Feeds arbitrary bytes to the wave reader, then converts what it accepts to
// the device format and mixes a little of it, so that any format it lets
// through is also safe downstream.
#include <cstddef>
#include <cstdint>
#include <span>

#include "media/mixer.h"
#include "media/pcm_convert.h"
#include "media/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Loaded<TIWave> wave = TIWave::Parse(std::span<const std::uint8_t>(data, size));
    if (!wave) return 0;
    if (wave->FormatSize() != 0 && wave->FormatSize() != 18u + wave->ExtraSize()) __builtin_trap();
    if (wave->DataSize() > size) __builtin_trap();
    const auto samples = ConvertToDeviceFormat(*wave);
    if (!samples) return 0;
    if (samples->channels != 1 && samples->channels != 2) __builtin_trap();
    static Mixer mixer;
    mixer.Assign(0, std::make_shared<const SoundSamples>(*samples));
    mixer.Start(0, true);
    std::int16_t out[2 * 64];
    mixer.Mix(out, 64);
    return 0;
}
