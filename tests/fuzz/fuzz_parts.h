// One fuzz input holding several byte strings: each part but the last is a little-endian 16-bit length
// followed by that many bytes (cut short at the end of the input); the last part is the rest.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

using Bytes = std::vector<uint8_t>;

inline std::vector<Bytes> SplitParts(const uint8_t* data, size_t size, size_t count) {
    std::vector<Bytes> parts;
    size_t at = 0;
    for (size_t i = 0; i + 1 < count; ++i) {
        size_t length = 0;
        if (at + 2 <= size) {
            length = data[at] | (size_t(data[at + 1]) << 8);
            at += 2;
        } else {
            at = size;
        }
        length = std::min(length, size - at);
        parts.emplace_back(data + at, data + at + length);
        at += length;
    }
    parts.emplace_back(data + at, data + size);
    return parts;
}

// The inverse, for writing seeds.
inline Bytes JoinParts(const std::vector<Bytes>& parts) {
    Bytes joined;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i + 1 < parts.size()) {
            joined.push_back(uint8_t(parts[i].size()));
            joined.push_back(uint8_t(parts[i].size() >> 8));
        }
        joined.insert(joined.end(), parts[i].begin(), parts[i].end());
    }
    return joined;
}

}  // namespace fuzz
