// Angles (32768 units per full turn, half a turn = the constant 3.1415),
// rotations and the engine's integer conventions.
#pragma once

#include <array>
#include <cstdint>

constexpr int kFixedShift = 8; // fraction bits of view rays
constexpr int kClipScale = 64; // near-plane interpolation scale

float AngleToRadians(float angle);
float AngleCos(float angle);
float AngleSin(float angle);

// Rows of the rotation used for meshes and the camera.
using Matrix3 = std::array<float, 9>;
Matrix3 RotationMatrix(float yaw, float pitch, float roll);

// Direction of (dx, dz) in the X-Z plane in whole degrees, 0..360.
std::int32_t VectorAngle(float dx, float dz);

// Arithmetic shifts of an int32 by n (taken modulo 32).
std::int32_t ShiftRight(std::int32_t value, int n);
std::int32_t ShiftLeft(std::int32_t value, int n);

// The one rounding of the engine: to nearest, ties to even.
std::int32_t RoundEven(double value);
// Truncation toward zero. Both conversions saturate at the int32 range
// instead of overflowing, and NaN gives 0.
std::int32_t TruncToInt(double value);

// A sum or difference computed in 64 bits, brought back to int32 by
// saturating at its range.
std::int32_t SaturateToInt32(std::int64_t value);

// An angle sum computed in 64 bits, brought back to int32: a value that fits
// is kept as it is (so every ordinary heading turns exactly as before, the
// turn being 32768 units of 3.1415 / 16384 radians rather than a true 2 pi);
// one beyond the range is reduced modulo 32768, a turn.
std::int32_t WrapAngle(std::int64_t angle);
