// Little-endian fields of a file held in memory. Callers check the offsets against the size first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace d3dx9 {

inline uint16_t ReadU16(const uint8_t* data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

inline uint32_t ReadU32(const uint8_t* data, size_t offset) {
    return uint32_t(data[offset]) | (uint32_t(data[offset + 1]) << 8) | (uint32_t(data[offset + 2]) << 16) |
           (uint32_t(data[offset + 3]) << 24);
}

inline int32_t ReadS32(const uint8_t* data, size_t offset) { return static_cast<int32_t>(ReadU32(data, offset)); }

// Whether [offset, offset + length) lies inside a buffer of `size` bytes, without overflow.
inline bool Fits(uint64_t offset, uint64_t length, uint64_t size) { return offset <= size && length <= size - offset; }

}  // namespace d3dx9
