#include "engine/angles.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

TEST(Angles, HalfTurnIsTheConstantNotPi) {
    EXPECT_EQ(AngleCos(16384), -1.0f);
    const float s = AngleSin(16384);
    EXPECT_GT(s, 0.0f);
    EXPECT_NEAR(s, 0.0000927, 1e-6);
    EXPECT_EQ(AngleCos(0), 1.0f);
    EXPECT_EQ(AngleSin(0), 0.0f);
    EXPECT_NEAR(AngleSin(8192), 1.0f, 1e-6);
    EXPECT_NEAR(AngleSin(-8192), -1.0f, 1e-6);
    // Not wrapped: a full turn is not quite 0.
    EXPECT_NE(AngleSin(32768), 0.0f);
    EXPECT_FLOAT_EQ(AngleToRadians(16384), 3.1415f);
}

TEST(Angles, RotationMatrixTurnsAboutTheVerticalWithYawOnly) {
    const Matrix3 identity = RotationMatrix(0, 0, 0);
    const Matrix3 expected = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(identity[i], expected[i]) << i;

    const float yaw = 5000;
    const Matrix3 m = RotationMatrix(yaw, 0, 0);
    const float cy = AngleCos(yaw), sy = AngleSin(yaw);
    // x' = cy x - sy z, z' = sy x + cy z, y unchanged.
    EXPECT_FLOAT_EQ(m[0], cy);
    EXPECT_FLOAT_EQ(m[2], -sy);
    EXPECT_FLOAT_EQ(m[6], sy);
    EXPECT_FLOAT_EQ(m[8], cy);
    EXPECT_FLOAT_EQ(m[4], 1);
    EXPECT_FLOAT_EQ(m[1] + m[3] + m[5] + m[7], 0);

    // Every combination stays a rotation: rows of unit length, orthogonal.
    const Matrix3 r = RotationMatrix(1234, -3000, 7000);
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) {
            const float dot =
                r[3 * a] * r[3 * b] + r[3 * a + 1] * r[3 * b + 1] + r[3 * a + 2] * r[3 * b + 2];
            EXPECT_NEAR(dot, a == b ? 1.0f : 0.0f, 1e-5) << a << "," << b;
        }
}

TEST(Angles, VectorAngleCoversEveryQuadrantInWholeDegrees) {
    EXPECT_EQ(VectorAngle(0, -5), 270);
    EXPECT_EQ(VectorAngle(0, 5), 90);
    EXPECT_EQ(VectorAngle(0, 0), 90);
    EXPECT_EQ(VectorAngle(-1, 0), 180);
    EXPECT_EQ(VectorAngle(1, -1), 315);
    EXPECT_EQ(VectorAngle(1, 0), 0);
    EXPECT_EQ(VectorAngle(1, 1), 45);
    EXPECT_EQ(VectorAngle(-1, 1), 135);
    EXPECT_EQ(VectorAngle(-1, -1), 225);
    // Just below the +x axis rounds up to a full turn.
    EXPECT_EQ(VectorAngle(1, -0.001f), 360);
}

TEST(Angles, ShiftsTakeTheCountModulo32AndKeepTheSign) {
    EXPECT_EQ(ShiftRight(-16, 2), -4);
    EXPECT_EQ(ShiftRight(-1, 31), -1);
    EXPECT_EQ(ShiftRight(256, 8 + 32), 1);
    EXPECT_EQ(ShiftRight(256, -24), 1); // -24 mod 32 = 8
    EXPECT_EQ(ShiftLeft(1, 32), 1);
    EXPECT_EQ(ShiftLeft(1, 31), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ShiftLeft(-3, 4), -48);
    EXPECT_EQ(ShiftLeft(0x40000001, 2), 4); // high bits drop off
}

TEST(Angles, RoundEvenBreaksTiesToEvenAndSaturates) {
    EXPECT_EQ(RoundEven(0.5), 0);
    EXPECT_EQ(RoundEven(1.5), 2);
    EXPECT_EQ(RoundEven(2.5), 2);
    EXPECT_EQ(RoundEven(-0.5), 0);
    EXPECT_EQ(RoundEven(-1.5), -2);
    EXPECT_EQ(RoundEven(-2.6), -3);
    EXPECT_EQ(RoundEven(2.4999), 2);
    EXPECT_EQ(RoundEven(1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundEven(-1e20), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundEven(std::nan("")), 0);
}
