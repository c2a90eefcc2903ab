#include "geometry/setup.h"

#include <algorithm>
#include <cmath>

namespace pipeline {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }  // b > 0

// std::llround for |d| < 2^52 without the library call: to nearest, halves away from zero. d minus
// its truncation is exact in that range.
int64_t RoundHalfAway(double d) {
    const int64_t t = static_cast<int64_t>(d);
    const double rest = d - static_cast<double>(t);
    return t + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

void AddToBins(const SetupContext& ctx, PrimitiveList& out, int top, int bottom, uint32_t index) {
    const int first = std::max((top - ctx.bandTop) / ctx.bandHeight, 0);
    const int last = std::min((bottom - ctx.bandTop) / ctx.bandHeight, static_cast<int>(out.bins.size()) - 1);
    if (first > last) return;
    for (int band = first; band <= last; ++band) out.bins[band].push_back(index);
    out.firstBand = std::min(out.firstBand, first);
    out.lastBand = std::max(out.lastBand, last);
}

void AppendValues(const ScreenVertex& v, int interpolants, std::vector<float>& data) {
    data.insert(data.end(), v.values, v.values + interpolants);
}

}  // namespace

void PrimitiveList::Reset(int bandCount) {
    triangles.clear();
    lines.clear();
    points.clear();
    data.clear();
    if (static_cast<int>(bins.size()) != bandCount) {
        bins.resize(bandCount);
        for (auto& bin : bins) bin.clear();
    } else {
        // Only the bins in use hold indices.
        for (int band = firstBand; band <= lastBand; ++band) bins[band].clear();
    }
    firstBand = bandCount;
    lastBand = -1;
    coveredArea = 0;
}

bool ToScreen(const ClipSpace& space, const ClipVertex& in, int varyingCount, ScreenVertex& out) {
    if (!(in.pos.w > 0.0f)) return false;
    const float q = 1.0f / in.pos.w;
    out.x = space.offsetX + space.scaleX * (in.pos.x * q);
    out.y = space.offsetY + space.scaleY * (in.pos.y * q);
    const float z = space.offsetZ + space.scaleZ * (in.pos.z * q);
    out.values[0] = z;
    out.values[1] = q;
    // Clipping keeps positions inside the guard band; anything else is refused rather than snapped.
    constexpr float kLimit = 1 << 20;
    if (!(std::fabs(out.x) < kLimit && std::fabs(out.y) < kLimit && std::isfinite(z) && std::isfinite(q)))
        return false;
    out.fx = RoundHalfAway(static_cast<double>(out.x) * kSubPixel);
    out.fy = RoundHalfAway(static_cast<double>(out.y) * kSubPixel);
    for (int i = 0; i < varyingCount; ++i) out.values[2 + i] = in.v[i] * q;
    return true;
}

int64_t SignedArea(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
    return (b.fx - a.fx) * (c.fy - a.fy) - (b.fy - a.fy) * (c.fx - a.fx);
}

bool SetupTriangle(const SetupContext& ctx, const ScreenVertex& a, const ScreenVertex& b0, const ScreenVertex& c0,
                   PrimitiveList& out) {
    const int64_t area = SignedArea(a, b0, c0);
    if (area == 0) return false;
    if ((ctx.cull == CullMode::Clockwise && area > 0) || (ctx.cull == CullMode::CounterClockwise && area < 0))
        return false;
    const ScreenVertex& b = area > 0 ? b0 : c0;
    const ScreenVertex& c = area > 0 ? c0 : b0;
    const ScreenVertex* v[3] = {&a, &b, &c};

    TriangleRecord& t = out.triangles.emplace_back();  // filled in place: no copy of a half-written record
    const int64_t minFx = std::min({a.fx, b.fx, c.fx}), maxFx = std::max({a.fx, b.fx, c.fx});
    const int64_t minFy = std::min({a.fy, b.fy, c.fy}), maxFy = std::max({a.fy, b.fy, c.fy});
    t.minX = static_cast<int>(std::max<int64_t>(-FloorDiv(-minFx, kSubPixel), ctx.area.left));
    t.maxX = static_cast<int>(std::min<int64_t>(FloorDiv(maxFx, kSubPixel), ctx.area.right - 1));
    t.minY = static_cast<int>(std::max<int64_t>(-FloorDiv(-minFy, kSubPixel), ctx.area.top));
    t.maxY = static_cast<int>(std::min<int64_t>(FloorDiv(maxFy, kSubPixel), ctx.area.bottom - 1));
    if (t.minX > t.maxX || t.minY > t.maxY) {
        out.triangles.pop_back();
        return false;
    }

    for (int e = 0; e < 3; ++e) {
        const ScreenVertex& p = *v[e];
        const ScreenVertex& q = *v[(e + 1) % 3];
        const int64_t dx = q.fx - p.fx, dy = q.fy - p.fy;
        const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        t.a[e] = -dy * kSubPixel;
        t.b[e] = dx * kSubPixel;
        t.c[e] = dy * p.fx - dx * p.fy - (topLeft ? 0 : 1);
    }

    // Attribute planes from the exact positions: snapping moves a vertex by up to 1/512 pixel, which on a
    // plane seen at a slant is a good part of a texel far away. A sliver whose exact and snapped shapes
    // disagree in orientation or size takes the snapped positions, which the coverage has.
    double x0 = a.x, y0 = a.y;
    double d1x = b.x - x0, d1y = b.y - y0, d2x = c.x - x0, d2y = c.y - y0;
    double det = d1x * d2y - d2x * d1y;
    const double snappedDet = static_cast<double>(SignedArea(a, b, c)) / (kSubPixel * kSubPixel);
    if (!(det > 0.5 * snappedDet && det < 2.0 * snappedDet)) {
        x0 = static_cast<double>(a.fx) / kSubPixel, y0 = static_cast<double>(a.fy) / kSubPixel;
        d1x = static_cast<double>(b.fx) / kSubPixel - x0, d1y = static_cast<double>(b.fy) / kSubPixel - y0;
        d2x = static_cast<double>(c.fx) / kSubPixel - x0, d2y = static_cast<double>(c.fy) / kSubPixel - y0;
        det = snappedDet;
    }
    const double inv = 1.0 / det;
    // The planes' origin is the first pixel of the bounds, so pixels lie near it and the float sums
    // that interpolate stay small, however far away the vertices are.
    t.refX = static_cast<float>(t.minX);
    t.refY = static_cast<float>(t.minY);
    const double ox = t.minX - x0, oy = t.minY - y0;
    const int n = ctx.interpolants;
    t.planes = static_cast<uint32_t>(out.data.size());
    out.data.resize(out.data.size() + 3 * static_cast<size_t>(n));
    float* plane = out.data.data() + t.planes;
    const float *va = a.values, *vb = b.values, *vc = c.values;
    for (int k = 0; k < n; ++k) {
        const double da1 = static_cast<double>(vb[k]) - va[k], da2 = static_cast<double>(vc[k]) - va[k];
        const double gx = (da1 * d2y - da2 * d1y) * inv, gy = (da2 * d1x - da1 * d2x) * inv;
        plane[k] = static_cast<float>(va[k] + gx * ox + gy * oy);
        plane[n + k] = static_cast<float>(gx);
        plane[2 * n + k] = static_cast<float>(gy);
    }
    const uint32_t index = static_cast<uint32_t>(out.triangles.size() - 1);
    out.coveredArea += static_cast<int64_t>(t.maxX - t.minX + 1) * (t.maxY - t.minY + 1);
    AddToBins(ctx, out, t.minY, t.maxY, index);
    return true;
}

void SetupLine(const SetupContext& ctx, const ScreenVertex& a, const ScreenVertex& b, PrimitiveList& out) {
    LineRecord line{a.x, a.y, b.x, b.y, static_cast<uint32_t>(out.data.size())};
    AppendValues(a, ctx.interpolants, out.data);
    AppendValues(b, ctx.interpolants, out.data);
    const float top = std::floor(std::min(a.y, b.y) + 0.5f), bottom = std::floor(std::max(a.y, b.y) + 0.5f);
    const int first = static_cast<int>(std::max<float>(top, static_cast<float>(ctx.area.top)));
    const int last = static_cast<int>(std::min<float>(bottom, static_cast<float>(ctx.area.bottom - 1)));
    if (first > last) {
        out.data.resize(line.values);
        return;
    }
    const uint32_t index = static_cast<uint32_t>(out.lines.size());
    out.lines.push_back(line);
    out.coveredArea += static_cast<int64_t>(std::fabs(a.x - b.x) + std::fabs(a.y - b.y)) + 1;
    AddToBins(ctx, out, first, last, index);
}

void SetupPoint(const SetupContext& ctx, const ScreenVertex& a, PrimitiveList& out) {
    const int x = static_cast<int>(std::floor(a.x + 0.5f)), y = static_cast<int>(std::floor(a.y + 0.5f));
    if (x < ctx.area.left || x >= ctx.area.right || y < ctx.area.top || y >= ctx.area.bottom) return;
    PointRecord point{x, y, static_cast<uint32_t>(out.data.size())};
    AppendValues(a, ctx.interpolants, out.data);
    const uint32_t index = static_cast<uint32_t>(out.points.size());
    out.points.push_back(point);
    out.coveredArea += 1;
    AddToBins(ctx, out, y, y, index);
}

}  // namespace pipeline
