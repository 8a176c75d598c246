// Feeds arbitrary sizes and decoder reductions to the clip limits: a plan is
// either refused or decodes within the pixel limit to a picture no smaller
// than the one shown, which fits the largest picture.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "media/clip_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    ClipSize source;
    std::memcpy(&source.width, data, 4);
    std::memcpy(&source.height, data + 4, 4);
    const int reduction = static_cast<std::int8_t>(data[8]);
    const Loaded<ClipPlan> plan = PlanClip(source, reduction);
    if (!plan) {
        if (plan.error.empty()) __builtin_trap();
        return 0;
    }
    const ClipPlan& p = *plan;
    if (!DecodedClipFits(p.decoded)) __builtin_trap();
    if (p.picture.width < 1 || p.picture.height < 1 || p.picture.width > kMaxClipPictureWidth ||
        p.picture.height > kMaxClipPictureHeight)
        __builtin_trap();
    if (p.picture.width > source.width || p.picture.height > source.height) __builtin_trap();
    if (p.reduction < 0 || p.reduction > std::max(reduction, 0)) __builtin_trap();
    if (p.reduction > 0 &&
        (p.decoded.width < p.picture.width || p.decoded.height < p.picture.height))
        __builtin_trap();
    const ClipSize shown = FitClipPicture(p.decoded);
    if (shown.width > kMaxClipPictureWidth || shown.height > kMaxClipPictureHeight)
        __builtin_trap();
    return 0;
}
