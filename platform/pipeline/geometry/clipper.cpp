#include "geometry/clipper.h"

namespace pipeline {

namespace {

// from + t (to - from), for position and varyings.
void LerpVertex(const ClipVertex& from, const ClipVertex& to, float t, int n, ClipVertex& out) {
    out.pos = {from.pos.x + t * (to.pos.x - from.pos.x), from.pos.y + t * (to.pos.y - from.pos.y),
               from.pos.z + t * (to.pos.z - from.pos.z), from.pos.w + t * (to.pos.w - from.pos.w)};
    for (int i = 0; i < n; ++i) out.v[i] = from.v[i] + t * (to.v[i] - from.v[i]);
    out.clipCodes = 0;
}

}  // namespace

int ClipTriangle(const ClipSpace& space, int n, const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                 ClipVertex out[kMaxClipPolygon]) {
    const uint32_t codes = a.clipCodes | b.clipCodes | c.clipCodes;
    if (codes & kClipBad) return 0;
    if (a.clipCodes & b.clipCodes & c.clipCodes) return 0;
    ClipVertex buffer[kMaxClipPolygon];
    ClipVertex* src = out;
    ClipVertex* dst = buffer;
    src[0] = a;
    src[1] = b;
    src[2] = c;
    int count = 3;
    for (int plane = 0; plane < kClipPlaneCount; ++plane) {
        if (!(codes & (1u << plane))) continue;
        int written = 0;
        for (int i = 0; i < count; ++i) {
            const ClipVertex& p = src[i];
            const ClipVertex& q = src[(i + 1) % count];
            const float dp = PlaneDistance(space, plane, p.pos), dq = PlaneDistance(space, plane, q.pos);
            const bool pIn = dp >= 0, qIn = dq >= 0;
            if (pIn) dst[written++] = p;
            if (pIn != qIn && written < kMaxClipPolygon) {
                if (pIn)
                    LerpVertex(p, q, dp / (dp - dq), n, dst[written++]);
                else
                    LerpVertex(q, p, dq / (dq - dp), n, dst[written++]);
            }
        }
        count = written;
        std::swap(src, dst);
        if (count < 3) return 0;
    }
    if (src != out)
        for (int i = 0; i < count; ++i) out[i] = src[i];
    return count;
}

bool ClipLine(const ClipSpace& space, int n, const ClipVertex& a, const ClipVertex& b, ClipVertex& outA,
              ClipVertex& outB) {
    const uint32_t codes = a.clipCodes | b.clipCodes;
    if (codes & kClipBad) return false;
    if (a.clipCodes & b.clipCodes) return false;
    float t0 = 0, t1 = 1;
    for (int plane = 0; plane < kClipPlaneCount; ++plane) {
        if (!(codes & (1u << plane))) continue;
        const float da = PlaneDistance(space, plane, a.pos), db = PlaneDistance(space, plane, b.pos);
        if (da < 0 && db < 0) return false;
        const float t = da / (da - db);
        if (da < 0) {
            if (t > t0) t0 = t;
        } else if (db < 0) {
            if (t < t1) t1 = t;
        }
    }
    if (!(t0 < t1)) return false;
    if (t0 > 0) LerpVertex(a, b, t0, n, outA); else outA = a;
    if (t1 < 1) LerpVertex(a, b, t1, n, outB); else outB = b;
    return true;
}

}  // namespace pipeline
