#include "media/clip_plan.h"

#include <algorithm>
#include <cstdint>

namespace {

std::string sizeText(ClipSize size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

} // namespace

ClipSize FitClipPicture(ClipSize decoded) {
    const std::int64_t w = std::max(decoded.width, 1), h = std::max(decoded.height, 1);
    if (w <= kMaxClipPictureWidth && h <= kMaxClipPictureHeight)
        return {static_cast<int>(w), static_cast<int>(h)};
    // Wider than the largest picture's shape: the width fills it.
    if (w * kMaxClipPictureHeight >= h * kMaxClipPictureWidth)
        return {kMaxClipPictureWidth, static_cast<int>(std::max<std::int64_t>(
                                          1, (h * kMaxClipPictureWidth + w / 2) / w))};
    return {static_cast<int>(std::max<std::int64_t>(1, (w * kMaxClipPictureHeight + h / 2) / h)),
            kMaxClipPictureHeight};
}

int ReducedClipSide(int side, int steps) {
    const std::int64_t unit = std::int64_t{1} << std::clamp(steps, 0, 30);
    return static_cast<int>((side + unit - 1) / unit);
}

bool DecodedClipFits(ClipSize decoded) {
    return decoded.width > 0 && decoded.height > 0 && decoded.width <= kMaxClipSide &&
           decoded.height <= kMaxClipSide &&
           std::int64_t{decoded.width} * decoded.height <= kMaxClipDecodePixels;
}

Loaded<ClipPlan> PlanClip(ClipSize source, int maxReduction) {
    if (source.width <= 0 || source.height <= 0 || source.width > kMaxClipSide ||
        source.height > kMaxClipSide)
        return LoadFailure{"its pictures are " + sizeText(source) +
                           " pixels; a side may have 1 to " + std::to_string(kMaxClipSide) + "."};
    ClipPlan plan;
    plan.picture = FitClipPicture(source);
    const int most = std::clamp(maxReduction, 0, 30);
    while (plan.reduction < most &&
           ReducedClipSide(source.width, plan.reduction + 1) >= plan.picture.width &&
           ReducedClipSide(source.height, plan.reduction + 1) >= plan.picture.height)
        ++plan.reduction;
    plan.decoded = {ReducedClipSide(source.width, plan.reduction),
                    ReducedClipSide(source.height, plan.reduction)};
    if (!DecodedClipFits(plan.decoded))
        return LoadFailure{"its pictures are " + sizeText(source) +
                           " pixels, too many to decode (at most " +
                           std::to_string(kMaxClipDecodePixels) + " a picture)."};
    return LoadedValue(plan);
}
