#include "engine/angles.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Half a turn is this constant, not pi: every stored heading and mesh
// rotation of the game's data relies on it.
constexpr long double kHalfTurnRadians = 3.1415L;
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr std::int64_t kTurn = 32768; // angle units per full turn

} // namespace

float AngleToRadians(float angle) {
    return static_cast<float>(static_cast<long double>(angle) * kHalfTurnRadians *
                              (1.0L / 16384.0L));
}

float AngleCos(float angle) {
    return static_cast<float>(std::cos(static_cast<long double>(AngleToRadians(angle))));
}

float AngleSin(float angle) {
    return static_cast<float>(std::sin(static_cast<long double>(AngleToRadians(angle))));
}

Matrix3 RotationMatrix(float yaw, float pitch, float roll) {
    const double cy = AngleCos(yaw), sy = AngleSin(yaw);
    const double cp = AngleCos(pitch), sp = AngleSin(pitch);
    const double cr = AngleCos(roll), sr = AngleSin(roll);
    auto f = [](double v) { return static_cast<float>(v); };
    return Matrix3{
        f(cy * cr + sy * sp * sr),
        f(-sr * cp),
        f(-cr * sy + cy * sp * sr),
        f(cy * sr - sp * cr * sy),
        f(cr * cp),
        f(-sy * sr - cy * cr * sp),
        f(sy * cp),
        f(sp),
        f(cy * cp),
    };
}

std::int32_t VectorAngle(float dx, float dz) {
    if (dx == 0) return dz >= 0 ? 90 : 270;
    const float quotient = dz / dx;
    long double a = std::atan(static_cast<long double>(quotient));
    if (dx < 0) a += kPi;
    long double degrees = a * 180.0L / kPi;
    if (degrees < 0) degrees += 360.0L;
    return RoundEven(static_cast<double>(degrees));
}

std::int32_t ShiftRight(std::int32_t value, int n) {
    return value >> (n & 31);
}

std::int32_t ShiftLeft(std::int32_t value, int n) {
    // Shift the bit pattern so that bits leaving the top are simply dropped.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << (n & 31));
}

namespace {

// A whole number to int32: out-of-range values saturate and NaN gives 0,
// where a bare conversion would be undefined.
std::int32_t saturate(double whole) {
    if (std::isnan(whole)) return 0;
    if (whole <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (whole >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(whole);
}

} // namespace

std::int32_t RoundEven(double value) {
    return saturate(std::nearbyint(value));
}

std::int32_t TruncToInt(double value) {
    return saturate(std::trunc(value));
}

std::int32_t SaturateToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t WrapAngle(std::int64_t angle) {
    if (angle >= std::numeric_limits<std::int32_t>::min() &&
        angle <= std::numeric_limits<std::int32_t>::max())
        return static_cast<std::int32_t>(angle);
    return static_cast<std::int32_t>(angle % kTurn);
}
