// CD track files, compressed music and video clips over FFmpeg: the audio
// file and video decoders of the music devices. FFmpeg's own messages stay
// off.
#pragma once

#include <memory>
#include <string>

#include "media/music_decoders.h"

// The first audio stream of a file, decoded and resampled to 44100 Hz
// stereo, played once; null when the file has none or cannot be read.
std::unique_ptr<MusicStream> FfmpegAudioFile(const std::string& path);

// The best video stream of a file, its pictures as RGB at their own size or
// scaled down to fit the largest picture (media/clip_plan.h); decoded at a
// reduced size when the decoder can. A failure without text when the file
// has none or cannot be read; refused, with the reason, when its pictures
// are too large to decode.
Loaded<std::unique_ptr<VideoStream>> FfmpegVideo(const std::string& path);
