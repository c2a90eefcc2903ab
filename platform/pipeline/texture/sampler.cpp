#include "texture/sampler.h"

#include "pipeline/formats.h"

namespace pipeline {

StageSampler PrepareSampler(const Texture* texture, const SamplerState& state,
                            std::vector<std::shared_ptr<const DecodedLevel>>* keep) {
    StageSampler s;
    s.minFilter = state.minFilter == Filter::None ? Filter::Point : state.minFilter;
    s.magFilter = state.magFilter == Filter::None ? Filter::Point : state.magFilter;
    s.mipFilter = state.mipFilter;
    s.addressU = state.addressU;
    s.addressV = state.addressV;
    s.border = ColorToArgb(state.border);
    s.lodBias = std::isfinite(state.lodBias) ? state.lodBias : 0.0f;
    if (!texture) return s;
    const size_t count = texture->levels.size() < kMaxLevels ? texture->levels.size() : kMaxLevels;
    for (size_t i = 0; i < count; ++i) {
        std::shared_ptr<const DecodedLevel> level = texture->DecodedShared(i);
        if (!level) break;
        s.levels[i] = {level->texels.data(), level->width, level->height};
        s.levelCount = static_cast<int>(i) + 1;
        if (keep) keep->push_back(std::move(level));
    }
    if (s.levelCount == 0) return s;
    s.base = state.maxMipLevel < 0 ? 0 : (state.maxMipLevel >= s.levelCount ? s.levelCount - 1 : state.maxMipLevel);
    s.baseWidth = static_cast<float>(s.levels[s.base].width);
    s.baseHeight = static_cast<float>(s.levels[s.base].height);
    auto pow2 = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
    s.wrapPow2 = s.addressU == Address::Wrap && s.addressV == Address::Wrap;
    for (int i = 0; i < s.levelCount; ++i) s.wrapPow2 = s.wrapPow2 && pow2(s.levels[i].width) && pow2(s.levels[i].height);
    s.needsLod = s.minFilter != s.magFilter || (s.mipFilter != Filter::None && s.levelCount - 1 > s.base);
    return s;
}

}  // namespace pipeline
