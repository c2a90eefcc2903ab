#pragma once
// A texture as the pipeline samples it: a mip chain of levels whose bytes the owner keeps.
#include <cstdint>
#include <memory>
#include <vector>

#include "pipeline/formats.h"

namespace pipeline {

// One level as its owner stores it. The owner bumps `version` whenever the bytes change (after a lock),
// so the decoded copy is made again.
struct TextureLevel {
    int width = 0, height = 0;   // size in texels
    int pitch = 0;               // bytes per row of texels (per row of 4 x 4 blocks for DXT)
    const uint8_t* data = nullptr;  // pitch x rows bytes (rows of blocks for DXT)
    uint64_t version = 0;        // changes whenever the bytes change
};

// A level decoded to 0xAARRGGBB texels, tightly packed.
struct DecodedLevel {
    int width = 0, height = 0;
    std::vector<uint32_t> texels;
};

class Texture {
public:
    TextureFormat format = TextureFormat::A8R8G8B8;  // format of every level
    std::vector<TextureLevel> levels;                // level 0 is the largest

    // The level decoded, made on first use and again after its version changes; null when the level
    // does not exist or its description is unusable (no data, size 0 or above kMaxSurfaceSize, pitch too small).
    // Not thread-safe: the pipeline calls it before it starts its workers.
    const DecodedLevel* Decoded(size_t level) const;
    // The same, shared: a queued draw keeps the copy it sampled alive, even after the texture
    // changes (a new copy is made) or goes away.
    std::shared_ptr<const DecodedLevel> DecodedShared(size_t level) const;

private:
    // The cached copy of the level, made again first when it is out of date (null when unusable).
    const std::shared_ptr<const DecodedLevel>& Cached(size_t level) const;

    struct CacheEntry {
        std::shared_ptr<const DecodedLevel> level;
        uint64_t version = 0;
        const uint8_t* data = nullptr;
        bool valid = false;
        bool usable = false;
    };
    mutable std::vector<CacheEntry> cache_;
};

// Decodes a level description into 0xAARRGGBB texels; false (and nothing written) when unusable.
bool DecodeLevel(TextureFormat format, const TextureLevel& level, DecodedLevel& out);

}  // namespace pipeline
