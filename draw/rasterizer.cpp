#include "draw/rasterizer.h"

#include <algorithm>
#include <cstdlib>

#include "draw/rasterizer_spans.h"
#include "engine/mesh.h"

namespace {

using i64 = std::int64_t;

// Edge slopes carry 15 fraction bits.
constexpr i64 kSlopeOne = 32768;
// Camera-space coordinates beyond this make the plane arithmetic leave
// 64 bits; such textured triangles are not drawn.
constexpr i64 kCoordinateLimit = i64{1} << 20;
// Limits on intermediate values of the texture look-up; points beyond them
// map to clamped texels anyway.
constexpr i64 kDepthLimit = i64{1} << 31;
constexpr i64 kPointLimit = i64{1} << 32;
constexpr std::int32_t kTexelMax = 127;

i64 Clamp(i64 value, i64 limit) {
    return std::clamp(value, -limit, limit);
}

// An edge of the triangle: x at row y is (y - y0) * k / 32768 + x0, worked
// out afresh for every row so that no error accumulates.
struct Edge {
    i64 x0 = 0, y0 = 0, k = 0;
    i64 At(i64 y) const { return (y - y0) * k / kSlopeOne + x0; }
};

Edge MakeEdge(i64 xFrom, i64 yFrom, i64 xTo, i64 yTo) {
    return Edge{xFrom, yFrom, (xTo - xFrom) * kSlopeOne / (yTo - yFrom)};
}

// The polygon's plane, for casting view rays onto it: texture coordinates
// (u, v) = (p * cu1 + r * cu2, p * cv1 + r * cv2) / divisor, where p and r
// are the hit point's coordinates on the two axes other than the dominant
// one, relative to the first vertex.
struct TexturePlane {
    i64 nx = 0, ny = 0, nz = 0; // scaled normal
    i64 q = 0;                  // plane constant, 8 fraction bits
    int pAxis = 0, rAxis = 0;   // 0 x, 1 y, 2 z
    i64 origin[3] = {};
    i64 cu1 = 0, cu2 = 0, cv1 = 0, cv2 = 0;
    i64 divisor = 0;
    bool flip = false;
    i64 cx = 0;
    std::int32_t fx = 1;
};

bool MakeTexturePlane(const RasterTarget& target, const RasterTriangle& t, TexturePlane& plane) {
    const i64 scale = i64{128} * target.planeScale;
    if (scale <= 0 || target.fx == 0 || target.fy == 0) return false;
    for (int i = 0; i < 3; ++i) {
        if (std::llabs(t.x[i]) > kCoordinateLimit || std::llabs(t.y[i]) > kCoordinateLimit ||
            std::llabs(t.z[i]) > kCoordinateLimit)
            return false;
    }
    const i64 x0 = t.x[0], y0 = t.y[0], z0 = t.z[0];
    const i64 x1 = t.x[1], y1 = t.y[1], z1 = t.z[1];
    const i64 x2 = t.x[2], y2 = t.y[2], z2 = t.z[2];
    plane.nx = ((y1 - y0) * (z2 - z1) - (y2 - y1) * (z1 - z0)) / scale;
    plane.ny = ((z1 - z0) * (x2 - x1) - (z2 - z1) * (x1 - x0)) / scale;
    plane.nz = ((x1 - x0) * (y2 - y1) - (x2 - x1) * (y1 - y0)) / scale;

    const __int128 q =
        (static_cast<__int128>(plane.nx) * x0 + static_cast<__int128>(plane.ny) * y0 +
         static_cast<__int128>(plane.nz) * z0) *
        256;
    constexpr i64 kQLimit = i64{1} << 62;
    if (q > kQLimit || q < -kQLimit) return false;
    plane.q = static_cast<i64>(q);

    const i64 ax = std::llabs(plane.nx), ay = std::llabs(plane.ny), az = std::llabs(plane.nz);
    if (az >= ax && az >= ay) {
        plane.pAxis = 0, plane.rAxis = 1;
        plane.cu1 = y2 - y1, plane.cu2 = -(x2 - x1);
        plane.cv1 = -(y1 - y0), plane.cv2 = x1 - x0;
        plane.divisor = target.planeScale * plane.nz;
    } else if (ax >= ay) {
        plane.pAxis = 1, plane.rAxis = 2;
        plane.cu1 = z2 - z1, plane.cu2 = -(y2 - y1);
        plane.cv1 = -(z1 - z0), plane.cv2 = y1 - y0;
        plane.divisor = target.planeScale * plane.nx;
    } else {
        plane.pAxis = 0, plane.rAxis = 2;
        plane.cu1 = -(z2 - z1), plane.cu2 = x2 - x1;
        plane.cv1 = z1 - z0, plane.cv2 = -(x1 - x0);
        plane.divisor = target.planeScale * plane.ny;
    }
    // A zero divisor means a zero normal: every ray would miss the plane.
    if (plane.divisor == 0) return false;
    plane.origin[0] = x0, plane.origin[1] = y0, plane.origin[2] = z0;
    plane.flip = t.flip != 0;
    plane.cx = target.cx;
    plane.fx = target.fx;
    return true;
}

// Exact texture coordinates of pixel column x on the row whose vertical ray
// component is ry. False when the ray runs parallel to the plane.
bool TexelAt(const TexturePlane& plane, i64 x, i64 ry, std::int32_t& u, std::int32_t& v) {
    // Columns and centres stay below 2^16, so this division fits 32 bits.
    const i64 rx = static_cast<std::int32_t>((x - plane.cx) * 256) / plane.fx;
    const i64 den = plane.nz * 256 + plane.nx * rx + plane.ny * ry;
    if (den == 0) return false;
    const i64 z = Clamp(plane.q / den, kDepthLimit);
    const i64 point[3] = {Clamp((z * rx) >> 8, kPointLimit), Clamp((z * ry) >> 8, kPointLimit), z};
    const i64 p = point[plane.pAxis] - plane.origin[plane.pAxis];
    const i64 r = point[plane.rAxis] - plane.origin[plane.rAxis];
    i64 uu = (p * plane.cu1 + r * plane.cu2) / plane.divisor;
    i64 vv = (p * plane.cv1 + r * plane.cv2) / plane.divisor;
    if (plane.flip) uu = kTexelMax - uu, vv = kTexelMax - vv;
    u = static_cast<std::int32_t>(std::clamp<i64>(uu, 0, kTexelMax));
    v = static_cast<std::int32_t>(std::clamp<i64>(vv, 0, kTexelMax));
    return true;
}

struct SpanStyle {
    bool textured = false;
    bool keyed = false;
    const std::uint8_t* image = nullptr;
    const std::uint8_t* shadeRow = nullptr;
    const std::uint8_t* blendPlane = nullptr; // null when opaque
    std::uint8_t flatColour = 0;
};

template <bool Keyed, bool Blended>
bool TexturedSpan(const RasterTarget& target, const TexturePlane& plane, const SpanStyle& style,
                  std::uint8_t* dst, std::int32_t left, std::int32_t end, i64 ry) {
    const std::int32_t segment = std::max(target.segmentLength, 1);
    std::int32_t u0 = 0, v0 = 0;
    if (!TexelAt(plane, left, ry, u0, v0)) return false;
    for (std::int32_t x = left; x < end;) {
        const std::int32_t count = std::min(segment, end - x);
        std::int32_t u1 = 0, v1 = 0;
        if (!TexelAt(plane, x + count, ry, u1, v1)) return false;
        const std::int32_t du = (u1 - u0) * 256 / count;
        const std::int32_t dv = (v1 - v0) * 256 / count;
        raster::TexturedRun<Keyed, Blended>(dst + (x - left), count, style.image, u0 * 256,
                                            v0 * 256, du, dv, style.shadeRow, style.blendPlane);
        x += count, u0 = u1, v0 = v1;
    }
    return true;
}

// Rows [from, to) between two edges. Returns false when a ray missed the
// plane, which ends the half.
bool FillRows(const RasterTarget& target, const TexturePlane& plane, const SpanStyle& style,
              const Edge& a, const Edge& b, i64 from, i64 to) {
    for (i64 y = from; y < to; ++y) {
        const i64 xa = a.At(y), xb = b.At(y);
        i64 left = std::min(xa, xb);
        i64 end = std::max(xa, xb) + 1;
        if (left > target.maxX || end < 0) continue;
        left = std::max<i64>(left, 0);
        end = std::min<i64>(end, target.maxX);
        if (end <= left) continue;

        const i64 row = target.bottomUp ? target.maxY - y : y;
        std::uint8_t* dst = target.pixels + row * target.width + left;
        const auto l = static_cast<std::int32_t>(left), e = static_cast<std::int32_t>(end);
        if (!style.textured) {
            raster::FlatRun(dst, e - l, style.flatColour, style.blendPlane);
            continue;
        }
        const i64 ry = (target.cy - y) * 256 / target.fy;
        bool drawn;
        if (style.keyed)
            drawn = style.blendPlane
                        ? TexturedSpan<true, true>(target, plane, style, dst, l, e, ry)
                        : TexturedSpan<true, false>(target, plane, style, dst, l, e, ry);
        else
            drawn = style.blendPlane
                        ? TexturedSpan<false, true>(target, plane, style, dst, l, e, ry)
                        : TexturedSpan<false, false>(target, plane, style, dst, l, e, ry);
        if (!drawn) return false;
    }
    return true;
}

} // namespace

RasterTarget MakeRasterTarget(FrameBuffer& buffer, const RenderContext& context, bool bottomUp) {
    RasterTarget target;
    const std::int64_t needed = static_cast<std::int64_t>(buffer.width) * buffer.height;
    // Column and row arithmetic stays in range for any size up to 32768.
    if (buffer.width < 1 || buffer.height < 1 || buffer.width > 32768 || buffer.height > 32768 ||
        static_cast<std::int64_t>(buffer.pixels.size()) < needed || !context.shadeTable ||
        !context.blendTable)
        return target;
    const Projection& p = context.projection;
    target.pixels = buffer.pixels.data();
    target.width = buffer.width;
    target.cx = p.cx, target.cy = p.cy, target.fx = p.fx, target.fy = p.fy;
    target.maxX = std::min<std::int32_t>(p.maxX, buffer.width - 1);
    target.maxY = std::min<std::int32_t>(p.maxY, buffer.height - 1);
    target.planeScale = p.planeScale;
    target.segmentLength = p.segmentLength;
    target.bottomUp = bottomUp;
    target.shades = context.shadeTable.get();
    target.blends = context.blendTable.get();
    return target;
}

void DrawTriangle(const RasterTarget& target, const RasterTriangle& t) {
    if (!target.pixels || target.maxX < 0 || target.maxY < 0) return;
    const bool textured = t.kind < kFaceFlat;
    if (textured && !t.image) return;

    // Corners by y, top first; equal y keeps the earlier corner first.
    int order[3] = {0, 1, 2};
    // Insertion sort: stable, and no allocation as std::stable_sort may make.
    for (int i = 1; i < 3; ++i) {
        for (int j = i; j > 0; --j) {
            const int a = order[j], b = order[j - 1];
            if (!(t.sy[a] < t.sy[b])) break;
            std::swap(order[j], order[j - 1]);
        }
    }
    const i64 xt = t.sx[order[0]], yt = t.sy[order[0]];
    const i64 xm = t.sx[order[1]], ym = t.sy[order[1]];
    const i64 xb = t.sx[order[2]], yb = t.sy[order[2]];

    const i64 maxX = target.maxX, maxY = target.maxY;
    if ((xt < 0 && xm < 0 && xb < 0) || (xt > maxX && xm > maxX && xb > maxX)) return;
    if (yt > maxY || yb < 0 || yt == yb) return;

    SpanStyle style;
    style.textured = textured;
    style.keyed = t.kind == kFaceTexturedKeyed || t.kind == kFaceSprite;
    style.image = t.image;
    const int shade = std::clamp(t.shade, 0, 255);
    style.shadeRow = target.shades->data() + shade * 256;
    const int level = std::min(t.transparency, 16);
    if (level > 0) style.blendPlane = target.blends->data() + level * 65536;
    style.flatColour = style.shadeRow[t.colour];

    TexturePlane plane;
    if (textured && !MakeTexturePlane(target, t, plane)) return;

    const Edge longEdge = MakeEdge(xt, yt, xb, yb);
    if (ym != yt && ym >= 0) {
        const Edge upper = MakeEdge(xm, ym, xt, yt);
        FillRows(target, plane, style, longEdge, upper, std::max<i64>(yt, 0), std::min(ym, maxY));
    }
    if (yb != ym && ym <= maxY) {
        const Edge lower = MakeEdge(xm, ym, xb, yb);
        FillRows(target, plane, style, longEdge, lower, std::max<i64>(ym, 0), std::min(yb, maxY));
    }
}
