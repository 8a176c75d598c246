#include "shell/window_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The largest k with k * unit <= 90 % of `size` (device pixels), at least 1.
std::int64_t wholeMultiple(std::int64_t size, int unit) {
    const std::int64_t k = size * kWindowScreenPercent / (std::int64_t{unit} * 100);
    return std::max<std::int64_t>(k, 1);
}

} // namespace

WindowPlace FirstWindowPlace(const WindowPlace& area, double pixelRatio) {
    const double ratio = std::isfinite(pixelRatio) && pixelRatio >= 1.0 / 16 ? pixelRatio : 1.0;
    const auto deviceWidth = static_cast<std::int64_t>(std::llround(area.width * ratio));
    const auto deviceHeight = static_cast<std::int64_t>(std::llround(area.height * ratio));
    const std::int64_t k = std::min(wholeMultiple(deviceWidth, kWindowUnitWidth),
                                    wholeMultiple(deviceHeight, kWindowUnitHeight));
    WindowPlace place;
    place.width = static_cast<int>(std::llround(static_cast<double>(k * kWindowUnitWidth) / ratio));
    place.height =
        static_cast<int>(std::llround(static_cast<double>(k * kWindowUnitHeight) / ratio));
    place.left = area.left + (area.width - place.width) / 2;
    place.top = area.top + (area.height - place.height) / 2;
    return place;
}
