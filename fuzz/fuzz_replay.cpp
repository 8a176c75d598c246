// The replay reader: any bytes are read or refused, and what is read writes
// back as the same bytes' replay.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const Loaded<Replay> replay = DecodeReplay(bytes, "fuzz.kvr");
    if (!replay) {
        if (replay.error.empty()) std::abort();
        return 0;
    }
    if (replay->frames.size() > kReplayMaxFrames) std::abort();
    for (const ReplayFrame& f : replay->frames)
        if (f.frameMs < 0 || (f.controls >> kReplayControlBits) != 0) std::abort();
    const std::vector<std::uint8_t> again = EncodeReplay(*replay);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    return 0;
}
