// Feeds arbitrary bytes to the clip reader as a file: FFmpeg probes and
// decodes them behind our limits. Whatever opens gives pictures that fit the
// largest picture and hold exactly their pixels; a refusal always says why.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "backends/ffmpeg/ffmpeg_media.h"
#include "media/clip_plan.h"

namespace {

std::string clipFile() {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/fuzz_clip_" + std::to_string(getpid()) + ".avi";
}

void check(const VideoPicture* picture) {
    if (!picture) return;
    if (picture->width < 1 || picture->height < 1 || picture->width > kMaxClipPictureWidth ||
        picture->height > kMaxClipPictureHeight)
        __builtin_trap();
    if (picture->rgb.size() != static_cast<std::size_t>(picture->width) * picture->height * 3)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = clipFile();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    std::fclose(file);
    if (!written) return 0;
    Loaded<std::unique_ptr<VideoStream>> clip = FfmpegVideo(path);
    if (!clip) return 0;
    VideoStream& video = **clip;
    if (video.LengthMs() <= 0) __builtin_trap();
    if (!DecodedClipFits(video.DecodedSize())) __builtin_trap();
    // A few moments through the clip, then its end.
    for (std::int64_t ms : {std::int64_t{0}, std::int64_t{40}, std::int64_t{1000}})
        check(video.PictureAt(ms));
    check(video.PictureAt(video.LengthMs()));
    return 0;
}
