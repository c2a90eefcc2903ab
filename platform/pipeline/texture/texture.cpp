#include "pipeline/texture.h"

#include <cstring>

#include "pipeline/dxt.h"
#include "pipeline/limits.h"

namespace pipeline {

namespace {
ColorFormat ColorFormatOf(TextureFormat format) { return static_cast<ColorFormat>(static_cast<int>(format)); }
}  // namespace

bool DecodeLevel(TextureFormat format, const TextureLevel& level, DecodedLevel& out) {
    const int w = level.width, h = level.height;
    if (!level.data || w <= 0 || h <= 0 || w > kMaxSurfaceSize || h > kMaxSurfaceSize) return false;
    if (IsCompressed(format)) {
        if (level.pitch < (w + 3) / 4 * DxtBlockBytes(format)) return false;
        out.width = w;
        out.height = h;
        out.texels.assign(static_cast<size_t>(w) * h, 0);
        DecodeDxtLevel(format, level.data, static_cast<size_t>(level.pitch), w, h, out.texels.data());
        return true;
    }
    const ColorFormat cf = ColorFormatOf(format);
    const int bpp = BytesPerPixel(cf);
    if (level.pitch < w * bpp) return false;
    out.width = w;
    out.height = h;
    out.texels.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = level.data + static_cast<size_t>(y) * level.pitch;
        uint32_t* dst = out.texels.data() + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            uint32_t raw = 0;
            if (bpp == 4)
                std::memcpy(&raw, row + 4 * x, 4);
            else
                raw = row[2 * x] | row[2 * x + 1] << 8;
            dst[x] = ToArgb8(cf, raw);
        }
    }
    return true;
}

const DecodedLevel* Texture::Decoded(size_t level) const { return Cached(level).get(); }

std::shared_ptr<const DecodedLevel> Texture::DecodedShared(size_t level) const { return Cached(level); }

const std::shared_ptr<const DecodedLevel>& Texture::Cached(size_t level) const {
    static const std::shared_ptr<const DecodedLevel> kNone;
    if (level >= levels.size()) return kNone;
    if (cache_.size() != levels.size()) cache_.resize(levels.size());
    CacheEntry& entry = cache_[level];
    const TextureLevel& source = levels[level];
    if (!entry.valid || entry.version != source.version || entry.data != source.data) {
        // A fresh copy each time: draws still queued keep sampling the one they were given.
        auto decoded = std::make_shared<DecodedLevel>();
        entry.usable = DecodeLevel(format, source, *decoded);
        entry.level = entry.usable ? std::move(decoded) : nullptr;
        entry.version = source.version;
        entry.data = source.data;
        entry.valid = true;
    }
    return entry.level;
}

}  // namespace pipeline
