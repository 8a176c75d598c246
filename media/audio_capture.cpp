#include "media/audio_capture.h"

#include <vector>

#include "media/pcm_convert.h"
#include "media/sound_output.h"
#include "media/wave_writer.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace {

std::int32_t captureStart = 0;
std::vector<std::int16_t> captured;

} // namespace

void BeginAudioCapture() {
    captureStart = GetTickCount();
    captured.clear();
}

void CaptureAudioFrame() {
    // Counted from the start, so that frames of any length add up to exactly
    // the time that passed.
    const std::int64_t elapsedMs = TickDifference(captureStart, GetTickCount());
    const std::int64_t wanted = elapsedMs * kDeviceRate / 1000;
    const std::int64_t have = CapturedAudioFrames();
    if (wanted <= have) return;
    captured.resize(static_cast<std::size_t>(wanted) * 2);
    PullSound(captured.data() + have * 2, static_cast<int>(wanted - have));
}

std::int64_t CapturedAudioFrames() {
    return static_cast<std::int64_t>(captured.size() / 2);
}

bool WriteAudioCapture(const std::string& file) {
    return WriteWholeFile(file, EncodeStereoWave(captured));
}
