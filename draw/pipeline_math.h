// Arithmetic the pipeline's submission, drawing and visibility test share.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/angles.h"
#include "engine/render_context.h"

namespace pipeline {

// Screen coordinates are kept within this so that the rasterizer's edge
// arithmetic never leaves 64 bits.
constexpr std::int64_t kScreenLimit = std::int64_t{1} << 30;

struct Point {
    std::int32_t x = 0, y = 0, z = 0;
};

// Row by row product of a rotation with (x, y, z), each coordinate rounded
// to nearest with ties to even.
inline Point Rotate(const Matrix3& m, double x, double y, double z) {
    return Point{RoundEven(double{m[0]} * x + double{m[1]} * y + double{m[2]} * z),
                 RoundEven(double{m[3]} * x + double{m[4]} * y + double{m[5]} * z),
                 RoundEven(double{m[6]} * x + double{m[7]} * y + double{m[8]} * z)};
}

// A world point in camera space.
inline Point ToCamera(const Camera& camera, std::int64_t x, std::int64_t y, std::int64_t z) {
    return Rotate(camera.matrix, static_cast<double>(x - camera.x),
                  static_cast<double>(y - camera.y), static_cast<double>(z - camera.z));
}

inline std::int32_t ScreenClamp(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, -kScreenLimit, kScreenLimit));
}

// Screen position of a camera-space point at depth `depth` (> 0).
inline std::int32_t ProjectX(const Projection& p, std::int64_t x, std::int64_t depth) {
    return ScreenClamp(x * p.fx / depth + p.cx);
}
inline std::int32_t ProjectY(const Projection& p, std::int64_t y, std::int64_t depth) {
    return ScreenClamp(p.cy - y * p.fy / depth);
}

} // namespace pipeline
