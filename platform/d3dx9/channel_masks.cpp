#include "channel_masks.h"

#include <bit>

namespace d3dx9 {

ChannelMask::ChannelMask(uint32_t mask) : mask_(mask) {
    if (mask_ == 0) return;
    shift_ = std::countr_zero(mask_);
    max_ = mask_ >> shift_;
}

uint32_t ChannelMask::Extract(uint32_t pixel, uint32_t absent) const {
    if (mask_ == 0) return absent;
    const uint64_t value = (pixel & mask_) >> shift_;
    // Round to the nearest 8-bit level; a mask with holes still stays within 0..255.
    return static_cast<uint32_t>((value * 255 + max_ / 2) / max_);
}

}  // namespace d3dx9
