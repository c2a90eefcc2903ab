#include "raster/rasterizer.h"

#include <algorithm>
#include <cmath>

namespace pipeline {

namespace {

// The first X in [lo, hi + 1] with a X + c >= 0 (a > 0), as ceil(-c / a) clamped. A double quotient
// lands within one of the answer, integer checks settle it: no 64-bit division per row.
int64_t FirstInside(int64_t a, int64_t c, int64_t lo, int64_t hi) {
    const double estimate = std::ceil(static_cast<double>(-c) / static_cast<double>(a));
    if (!(estimate + 1 > static_cast<double>(lo))) return lo;       // the answer is at most estimate + 1
    if (!(estimate - 1 <= static_cast<double>(hi))) return hi + 1;  // and at least estimate - 1
    int64_t k = static_cast<int64_t>(estimate);
    while (a * k + c < 0) ++k;
    while (k > lo && a * (k - 1) + c >= 0) --k;
    return k;
}

// The last X in [lo - 1, hi] with a X + c >= 0 (a < 0), as floor(c / -a) clamped.
int64_t LastInside(int64_t a, int64_t c, int64_t lo, int64_t hi) {
    const double estimate = std::floor(static_cast<double>(c) / static_cast<double>(-a));
    if (!(estimate - 1 < static_cast<double>(hi))) return hi;
    if (!(estimate + 1 >= static_cast<double>(lo))) return lo - 1;
    int64_t k = static_cast<int64_t>(estimate);
    while (a * k + c < 0) --k;
    while (k < hi && a * (k + 1) + c >= 0) ++k;
    return k;
}

void RasterizeTriangle(const PixelPipeline& pp, const SetupContext& ctx, const PrimitiveList& list,
                       const TriangleRecord& t, int top, int bottom) {
    const int n = ctx.interpolants;
    const float* plane = list.data.data() + t.planes;
    const float* ddx = plane + n;
    const float* ddy = plane + 2 * n;
    const int y0 = std::max(t.minY, top), y1 = std::min(t.maxY, bottom - 1);
    // Rows go to the pixel stage in batches, so it prepares a triangle's constants once per batch.
    constexpr int kBatch = 32;
    SpanRow rows[kBatch];
    int rowCount = 0;
    for (int y = y0; y <= y1; ++y) {
        int64_t left = t.minX, right = t.maxX;
        for (int e = 0; e < 3; ++e) {
            const int64_t c = t.b[e] * y + t.c[e];  // a X + c >= 0
            const int64_t a = t.a[e];
            if (a > 0)
                left = std::max(left, FirstInside(a, c, t.minX, t.maxX));
            else if (a < 0)
                right = std::min(right, LastInside(a, c, t.minX, t.maxX));
            else if (c < 0)
                right = left - 1;
        }
        if (left > right) continue;
        rows[rowCount++] = {y, static_cast<int>(left), static_cast<int>(right)};
        if (rowCount == kBatch) {
            ShadeRows(pp, rows, rowCount, plane, ddx, ddy, t.refX, t.refY);
            rowCount = 0;
        }
    }
    if (rowCount > 0) ShadeRows(pp, rows, rowCount, plane, ddx, ddy, t.refX, t.refY);
}

void RasterizeLine(const PixelPipeline& pp, const SetupContext& ctx, const PrimitiveList& list, const LineRecord& l,
                   int top, int bottom) {
    const int n = ctx.interpolants;
    const float* va = list.data.data() + l.values;
    const float* vb = va + n;
    static const float kZeros[kMaxInterpolants] = {};
    float values[kMaxInterpolants];
    const float dx = l.x1 - l.x0, dy = l.y1 - l.y0;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const float start = xMajor ? l.x0 : l.y0, end = xMajor ? l.x1 : l.y1, span = xMajor ? dx : dy;
    const int first = static_cast<int>(std::floor(start + 0.5f)), last = static_cast<int>(std::floor(end + 0.5f));
    const int step = last >= first ? 1 : -1;
    const int count = std::abs(last - first) + (ctx.lastPixel ? 1 : 0);
    const Rect& area = ctx.area;
    for (int k = 0; k < count; ++k) {
        const int major = first + k * step;
        float t = span != 0.0f ? (static_cast<float>(major) - start) / span : 0.0f;
        t = t > 0.0f ? (t < 1.0f ? t : 1.0f) : 0.0f;
        const float minorPos = xMajor ? l.y0 + t * dy : l.x0 + t * dx;
        const int minor = static_cast<int>(std::floor(minorPos + 0.5f));
        const int x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (y < top || y >= bottom || x < area.left || x >= area.right || y < area.top || y >= area.bottom) continue;
        for (int i = 0; i < n; ++i) values[i] = va[i] + t * (vb[i] - va[i]);
        ShadeSpan(pp, y, x, x, values, kZeros, kZeros);
    }
}

}  // namespace

void RasterizeBand(const PixelPipeline& pp, const SetupContext& ctx, const PrimitiveList& list, int band, int top,
                   int bottom) {
    static const float kZeros[kMaxInterpolants] = {};
    if (band >= static_cast<int>(list.bins.size())) return;
    for (uint32_t index : list.bins[band]) {
        if (!list.triangles.empty()) {
            RasterizeTriangle(pp, ctx, list, list.triangles[index], top, bottom);
        } else if (!list.lines.empty()) {
            RasterizeLine(pp, ctx, list, list.lines[index], top, bottom);
        } else {
            const PointRecord& p = list.points[index];
            if (p.y >= top && p.y < bottom) ShadeSpan(pp, p.y, p.x, p.x, list.data.data() + p.values, kZeros, kZeros);
        }
    }
}

}  // namespace pipeline
