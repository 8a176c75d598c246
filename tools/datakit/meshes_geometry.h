// Small vector and rotation helpers for building the data set's meshes in
// real coordinates before they are rounded to the mesh's integers.
#pragma once

#include <cmath>

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
inline Vec3 Normalized(Vec3 a) {
    const double length = Length(a);
    return length > 0 ? a * (1.0 / length) : Vec3{};
}

// Degrees to radians with the true pi: the meshes are authored in degrees.
inline double Radians(double degrees) {
    return degrees * 3.14159265358979323846 / 180.0;
}

// A rotation as three rows.
struct Mat3 {
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

inline Vec3 operator*(const Mat3& r, Vec3 v) {
    return {r.m[0] * v.x + r.m[1] * v.y + r.m[2] * v.z, r.m[3] * v.x + r.m[4] * v.y + r.m[5] * v.z,
            r.m[6] * v.x + r.m[7] * v.y + r.m[8] * v.z};
}

inline Mat3 operator*(const Mat3& a, const Mat3& b) {
    Mat3 out;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            out.m[row * 3 + col] = a.m[row * 3] * b.m[col] + a.m[row * 3 + 1] * b.m[3 + col] +
                                   a.m[row * 3 + 2] * b.m[6 + col];
    return out;
}

// Right-handed turns about the axes. A limb hanging along -y swings toward -z
// (the figures' front) for a positive RotX and toward +x for a positive RotZ.
inline Mat3 RotX(double degrees) {
    const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
    return {{1, 0, 0, 0, c, -s, 0, s, c}};
}
inline Mat3 RotY(double degrees) {
    const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
    return {{c, 0, s, 0, 1, 0, -s, 0, c}};
}
inline Mat3 RotZ(double degrees) {
    const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
    return {{c, -s, 0, s, c, 0, 0, 0, 1}};
}

// A placed coordinate frame: points are turned by `turn`, then moved to `origin`.
struct Frame {
    Mat3 turn;
    Vec3 origin;

    Vec3 operator()(Vec3 local) const { return turn * local + origin; }
    // The frame of a child placed at `offset` in this frame and turned by `local`.
    Frame Child(Vec3 offset, const Mat3& local) const { return {turn * local, (*this)(offset)}; }
};

inline Frame At(Vec3 origin) {
    return {Mat3{}, origin};
}
