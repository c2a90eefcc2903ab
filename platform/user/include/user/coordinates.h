// The range the window manager keeps window coordinates in. Positions stay within +-kMaxCoordinate and
// sizes within kMaxCoordinate, whatever a program, its window procedure or an input script gives, so
// a rectangle's sums and differences, frame insets added, never overflow.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "windef.h"

namespace user {

constexpr int kMaxCoordinate = 1 << 24;

inline int ClampCoordinate(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate)); }
inline int ClampExtent(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, kMaxCoordinate)); }
inline RECT ClampRect(const RECT& r) {
    return {ClampCoordinate(r.left), ClampCoordinate(r.top), ClampCoordinate(r.right), ClampCoordinate(r.bottom)};
}
// A 32-bit result of wider arithmetic, saturated (for rectangles the program owns).
inline LONG SaturateLong(int64_t v) {
    return static_cast<LONG>(std::clamp<int64_t>(v, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

}  // namespace user
