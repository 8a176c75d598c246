#include "media/audio_capture.h"

#include <vector>

#include "media/pcm_convert.h"
#include "media/sound_output.h"
#include "media/wave_writer.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace {

std::int32_t captureStart = 0;
bool keep = true;
std::int64_t pulled = 0; // stereo frames pulled since the start
std::vector<std::int16_t> captured;

} // namespace

void BeginAudioCapture(bool keepSamples) {
    captureStart = GetTickCount();
    keep = keepSamples;
    pulled = 0;
    captured.clear();
}

void CaptureAudioFrame() {
    // Counted from the start, so that frames of any length add up to exactly
    // the time that passed.
    const std::int64_t elapsedMs = TickDifference(captureStart, GetTickCount());
    const std::int64_t wanted = elapsedMs * kDeviceRate / 1000;
    if (wanted <= pulled) return;
    const auto frames = static_cast<std::size_t>(wanted - pulled);
    if (keep) {
        captured.resize(static_cast<std::size_t>(wanted) * 2);
        PullSound(captured.data() + pulled * 2, static_cast<int>(frames));
    } else {
        SkipSound(static_cast<int>(frames));
    }
    pulled = wanted;
}

std::int64_t CapturedAudioFrames() {
    return static_cast<std::int64_t>(captured.size() / 2);
}

bool WriteAudioCapture(const std::string& file) {
    return WriteWholeFile(file, EncodeStereoWave(captured));
}
