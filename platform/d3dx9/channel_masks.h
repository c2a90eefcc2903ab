// Pixels whose channels are given by bit masks (BMP bit fields, DDS RGB formats) widened to A8R8G8B8.
#pragma once

#include <cstdint>

namespace d3dx9 {

class ChannelMask {
public:
    explicit ChannelMask(uint32_t mask);
    bool Present() const { return mask_ != 0; }
    // The channel of `pixel` scaled to 0..255; `absent` when the mask is empty.
    uint32_t Extract(uint32_t pixel, uint32_t absent) const;

private:
    uint32_t mask_;
    int shift_ = 0;
    uint32_t max_ = 0;
};

struct ChannelMasks {
    ChannelMask red, green, blue, alpha;
    ChannelMasks(uint32_t r, uint32_t g, uint32_t b, uint32_t a) : red(r), green(g), blue(b), alpha(a) {}
    uint32_t ToArgb(uint32_t pixel) const {
        return (alpha.Extract(pixel, 0xFF) << 24) | (red.Extract(pixel, 0) << 16) | (green.Extract(pixel, 0) << 8) |
               blue.Extract(pixel, 0);
    }
};

}  // namespace d3dx9
