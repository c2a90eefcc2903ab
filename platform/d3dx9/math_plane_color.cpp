// Plane and colour constructors and the colour's D3DCOLOR conversions.
#include "d3dx9math.h"

D3DXPLANE::D3DXPLANE(const FLOAT* p)
    : a(p ? p[0] : 0.0f), b(p ? p[1] : 0.0f), c(p ? p[2] : 0.0f), d(p ? p[3] : 0.0f) {}

namespace {

constexpr FLOAT kByteScale = 1.0f / 255.0f;

FLOAT FromByte(DWORD argb, int shift) { return static_cast<FLOAT>((argb >> shift) & 0xFF) * kByteScale; }

// Clamped to [0, 1] (NaN counts as 0) and rounded to the nearest of 256 steps.
DWORD ToByte(FLOAT v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 1.0f) return 0xFF;
    return static_cast<DWORD>(v * 255.0f + 0.5f);
}

}  // namespace

D3DXCOLOR::D3DXCOLOR(DWORD argb)
    : r(FromByte(argb, 16)), g(FromByte(argb, 8)), b(FromByte(argb, 0)), a(FromByte(argb, 24)) {}

D3DXCOLOR::D3DXCOLOR(const FLOAT* p)
    : r(p ? p[0] : 0.0f), g(p ? p[1] : 0.0f), b(p ? p[2] : 0.0f), a(p ? p[3] : 0.0f) {}

D3DXCOLOR::operator DWORD() const { return (ToByte(a) << 24) | (ToByte(r) << 16) | (ToByte(g) << 8) | ToByte(b); }
