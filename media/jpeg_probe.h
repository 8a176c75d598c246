// The frame header of a JPEG picture (one picture of a motion-JPEG clip),
// read before the picture is given to a decoder: its size and whether its
// decoder must keep the whole picture's coefficients (progressive and
// lossless pictures), which no reduction while decoding makes smaller.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

struct JpegFrameHeader {
    int width = 0, height = 0;
    bool wholeCoefficients = false; // progressive or lossless
};

// The first frame header of the picture; nothing when the bytes hold none
// before their end (or before the first scan).
std::optional<JpegFrameHeader> ProbeJpegFrame(std::span<const std::uint8_t> picture);

// Whether a decoder may take the picture: no frame header (the decoder
// decides), or one within `most` sides and, for a picture whose
// coefficients are kept whole, within `mostPixels`.
bool JpegFrameAcceptable(std::span<const std::uint8_t> picture, int mostWidth, int mostHeight,
                         std::int64_t mostPixels);
