// Motion-JPEG clips in an AVI file, written byte by byte: grey pictures of
// any size at almost no cost (two bits per 8x8 block), for the tests of
// clips too large to show.
#pragma once

#include <cstdint>
#include <vector>

// One baseline greyscale JPEG picture, mid-grey all over. With a frame
// marker given (0xC2: progressive), its header says so; its scan stays the
// baseline one.
std::vector<std::uint8_t> GreyJpeg(int width, int height, std::uint8_t frameMarker = 0xC0);

// An AVI of JPEG pictures at `framesPerSecond`, its headers saying
// width x height whatever the pictures say.
std::vector<std::uint8_t> MjpegAvi(const std::vector<std::vector<std::uint8_t>>& pictures,
                                   int width, int height, int framesPerSecond);

// An AVI of `frames` grey pictures at `framesPerSecond`.
std::vector<std::uint8_t> GreyMjpegAvi(int width, int height, int frames, int framesPerSecond);
