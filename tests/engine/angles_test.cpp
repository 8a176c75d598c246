#include "engine/angles.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

TEST(Angles, HalfTurnIsTheConstantNotPi) {
    EXPECT_EQ(AngleCos(16384), -1.0f);
    EXPECT_GT(AngleSin(16384), 0.0f);
    EXPECT_NEAR(AngleSin(16384), 0.0000927, 1e-6);
    EXPECT_NEAR(AngleSin(8192), 1.0f, 1e-6);
    EXPECT_NE(AngleSin(32768), 0.0f); // angles are never wrapped
}

TEST(Angles, RotationMatrixIsARotationAndYawTurnsAboutY) {
    const Matrix3 identity = RotationMatrix(0, 0, 0);
    for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(identity[i], i % 4 == 0 ? 1 : 0) << i;

    const Matrix3 m = RotationMatrix(5000, 0, 0);
    const float cy = AngleCos(5000), sy = AngleSin(5000);
    EXPECT_EQ((std::array<float, 5>{m[0], m[2], m[6], m[8], m[4]}),
              (std::array<float, 5>{cy, -sy, sy, cy, 1.0f}));

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
    EXPECT_EQ(VectorAngle(-1, 0), 180);
    EXPECT_EQ(VectorAngle(1, -1), 315);
    EXPECT_EQ(VectorAngle(-1, 1), 135);
    EXPECT_EQ(VectorAngle(-1, -1), 225);
    EXPECT_EQ(VectorAngle(1, -0.001f), 360); // just below +x rounds to a full turn
}

TEST(Angles, ShiftsAndRounding) {
    EXPECT_EQ(ShiftRight(-16, 2 + 32), -4); // counts are taken modulo 32
    EXPECT_EQ(ShiftLeft(0x40000001, 2), 4);

    EXPECT_EQ(RoundEven(0.5), 0);
    EXPECT_EQ(RoundEven(1.5), 2);
    EXPECT_EQ(RoundEven(2.5), 2);
    EXPECT_EQ(RoundEven(-1.5), -2);
    EXPECT_EQ(RoundEven(1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundEven(-1e20), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundEven(std::nan("")), 0);
}

TEST(Angles, WideSumsComeBackToInt32) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(SaturateToInt32(kMax + 256), kMax);
    EXPECT_EQ(SaturateToInt32(kMin * 2), kMin);
    EXPECT_EQ(SaturateToInt32(-511), -511);
    // Sums of ordinary headings are kept as they are, even past a turn...
    EXPECT_EQ(WrapAngle(32767 + 16384), 49151);
    EXPECT_EQ(WrapAngle(-8192 - 32767), -40959);
    EXPECT_EQ(WrapAngle(-kMin - 8192), kMax - 8191);
    // ...and only those beyond int32 lose whole turns.
    EXPECT_EQ(WrapAngle(kMax + 16384), 16383);
    EXPECT_EQ(WrapAngle(16384 - kMin), 16384);
    EXPECT_EQ(WrapAngle(kMin - 8192), -8192);
}
