// The replay reader: any bytes are read or refused, and what is read writes
// back as the same bytes. The input is tried as it is, and sealed with its
// own checksum so that the reader's size checks behind it are reached too.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "formats/replay_file.h"

namespace {

void check(std::span<const std::uint8_t> bytes) {
    const Loaded<Replay> replay = DecodeReplay(bytes, "fuzz.kvr");
    if (!replay) {
        if (replay.error.empty()) std::abort();
        return;
    }
    if (replay->frames.size() > kReplayMaxFrames) std::abort();
    for (const ReplayFrame& f : replay->frames)
        if (f.frameMs < 0 || (f.controls >> kReplayControlBits) != 0) std::abort();
    const std::vector<std::uint8_t> again = EncodeReplay(*replay);
    if (again.size() != bytes.size() || !std::equal(again.begin(), again.end(), bytes.begin()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check({data, size});
    std::vector<std::uint8_t> sealed(data, data + size);
    std::uint32_t hash = 2166136261u;
    for (const std::uint8_t b : sealed) hash = (hash ^ b) * 16777619u;
    for (int k = 0; k < 4; ++k) sealed.push_back(static_cast<std::uint8_t>(hash >> (8 * k)));
    check(sealed);
    return 0;
}
