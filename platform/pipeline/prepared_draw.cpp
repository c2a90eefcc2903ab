#include "prepared_draw.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "raster/rasterizer.h"

namespace pipeline {

static_assert(std::is_trivially_copyable_v<PixelState>, "pixel records copy and compare the state's bytes");

void PixelRecord::Prepare(const PixelState& source, const VaryingLayout& varyings, RenderTarget& target, bool keep) {
    std::memcpy(&state, &source, sizeof state);  // bytes and all, so Matches can compare them
    textures.clear();
    pixels = PreparePixels(state, varyings, target, keep ? &textures : nullptr);
}

bool PixelRecord::Matches(const PixelState& source) const {
    if (std::memcmp(&state, &source, sizeof state) != 0) return false;
    for (int s = 0; s < pixels.stageCount; ++s) {
        const StageState& stage = state.stages[s];
        const Texture* texture = stage.texture;
        // The stages PreparePixels sampled: the same again, as the state is.
        if (!texture || !ReadsTexture(stage) || pixels.varyings.tex[stage.texCoordIndex & 7] < 0) continue;
        const StageSampler& sampler = pixels.samplers[s];
        // The levels decoded now must be the very ones prepared, and the chain must end where it did.
        const size_t count = std::min<size_t>(texture->levels.size(), kMaxLevels);
        for (size_t i = 0; i < count; ++i) {
            const DecodedLevel* level = texture->Decoded(i);
            if (static_cast<int>(i) >= sampler.levelCount) {
                if (level) return false;
                break;
            }
            if (!level || level->texels.data() != sampler.levels[i].texels) return false;
        }
        if (static_cast<int>(count) < sampler.levelCount) return false;
    }
    return true;
}

static_assert(std::is_trivially_copyable_v<VertexState>, "vertex records copy and compare the state's bytes");

void VertexRecord::Prepare(const DrawCall& call, const VertexState& source, const VaryingLayout& varyingLayout,
                           const Viewport& view) {
    std::memcpy(&state, &source, sizeof state);
    setup = PrepareVertexStage(call, state, varyingLayout, view);
    viewport = view;
    varyings = varyingLayout;
    pretransformed = call.layout.pretransformed;
}

bool VertexRecord::Matches(const DrawCall& call, const VertexState& source, const VaryingLayout& varyingLayout,
                           const Viewport& view) const {
    // The vertex stage's set-up reads the state, the viewport, the varyings and the kind of position.
    return pretransformed == call.layout.pretransformed && viewport.x == view.x && viewport.y == view.y &&
           viewport.width == view.width && viewport.height == view.height && viewport.minZ == view.minZ &&
           viewport.maxZ == view.maxZ && std::memcmp(&varyings, &varyingLayout, sizeof varyings) == 0 &&
           std::memcmp(&state, &source, sizeof state) == 0;
}

void PreparedDraw::RasterizeRows(int band, int top, int bottom) const {
    for (int i = 0; i < listCount; ++i)
        if (band >= lists[i].firstBand && band <= lists[i].lastBand)
            RasterizeBand(record->pixels, setup, lists[i], band, top, bottom);
}

}  // namespace pipeline
