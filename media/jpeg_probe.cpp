#include "media/jpeg_probe.h"

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;

// The frame headers SOF0..SOF15; C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic conditioning) share the range but are not frames.
bool isFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Extended sequential pictures (SOF0, SOF1, SOF9) are decoded block by
// block; the others keep every coefficient (progressive) or sample
// (lossless, hierarchical) of the whole picture.
bool keepsWholeCoefficients(std::uint8_t marker) {
    return marker != 0xC0 && marker != 0xC1 && marker != 0xC9;
}

// Markers without a length: SOI, EOI, RST0..7 and TEM.
bool standsAlone(std::uint8_t marker) {
    return marker == kStartOfImage || marker == kEndOfImage || (marker >= 0xD0 && marker <= 0xD7) ||
           marker == 0x01;
}

} // namespace

std::optional<JpegFrameHeader> ProbeJpegFrame(std::span<const std::uint8_t> picture) {
    std::size_t at = 0;
    const std::size_t size = picture.size();
    while (at + 1 < size) {
        if (picture[at] != kMarker) {
            ++at; // bytes between segments (some writers pad); look on
            continue;
        }
        const std::uint8_t marker = picture[at + 1];
        if (marker == kMarker) {
            ++at; // fill bytes before a marker
            continue;
        }
        at += 2;
        if (standsAlone(marker)) {
            if (marker == kEndOfImage) return std::nullopt;
            continue;
        }
        if (at + 2 > size) return std::nullopt;
        const std::size_t length = (std::size_t{picture[at]} << 8) | picture[at + 1];
        if (length < 2 || length > size - at) return std::nullopt;
        if (isFrameHeader(marker)) {
            if (length < 8) return std::nullopt;
            JpegFrameHeader header;
            header.height = (picture[at + 3] << 8) | picture[at + 4];
            header.width = (picture[at + 5] << 8) | picture[at + 6];
            header.wholeCoefficients = keepsWholeCoefficients(marker);
            return header;
        }
        if (marker == kStartOfScan) return std::nullopt;
        at += length;
    }
    return std::nullopt;
}

bool JpegFrameAcceptable(std::span<const std::uint8_t> picture, int mostWidth, int mostHeight,
                         std::int64_t mostPixels) {
    const auto header = ProbeJpegFrame(picture);
    if (!header) return true;
    if (header->width > mostWidth || header->height > mostHeight) return false;
    return !header->wholeCoefficients || std::int64_t{header->width} * header->height <= mostPixels;
}
