// Feeds arbitrary bytes to the JPEG frame-header probe that looks at every
// motion-JPEG picture before it is decoded: it never reads past the bytes,
// and a picture it accepts has no header or one within the limits given.
#include <cstddef>
#include <cstdint>
#include <span>

#include "media/jpeg_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto header = ProbeJpegFrame(bytes);
    if (header && (header->width < 0 || header->width > 65535 || header->height < 0 ||
                   header->height > 65535))
        __builtin_trap();
    const bool accepted = JpegFrameAcceptable(bytes, 320, 240, 320 * 240);
    if (header && accepted && (header->width > 320 || header->height > 240)) __builtin_trap();
    return 0;
}
