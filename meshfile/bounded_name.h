// The names of meshes and frames: 512 bytes, the last always 0 (at most 511 characters kept).
#pragma once

#include <cstddef>

constexpr size_t kXNameBytes = 512;

inline void CopyBoundedName(char (&to)[kXNameBytes], const char* from) {
    size_t i = 0;
    for (; from && i + 1 < kXNameBytes && from[i]; ++i) to[i] = from[i];
    to[i] = 0;
}
