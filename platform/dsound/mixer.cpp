// Resampling is linear between neighbouring source frames, stepped in 32.32 fixed point, so a voice's
// position is exact over any run length.
#include "mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace dsound {
namespace {

inline int32_t SampleAt(const VoiceSource& v, uint32_t frame, uint16_t channel) {
    const uint8_t* p = v.data + static_cast<size_t>(frame) * v.blockAlign;
    if (v.bits == 8) return (static_cast<int32_t>(p[channel]) - 128) << 8;
    int16_t s;
    std::memcpy(&s, p + 2 * channel, 2);
    return s;
}

}  // namespace

MixOutcome MixVoice(const VoiceSource& v, uint64_t position, int32_t* acc, uint32_t frames, uint32_t outRate,
                    uint16_t outChannels) {
    MixOutcome outcome;
    outcome.position = position;
    if (v.frames == 0 || outRate == 0 || v.rate == 0) {
        outcome.ended = !v.looping;
        outcome.position = 0;
        return outcome;
    }
    const uint64_t step = (static_cast<uint64_t>(v.rate) << 32) / outRate;
    const uint64_t end = static_cast<uint64_t>(v.frames) << 32;
    uint64_t pos = position % end;
    const uint64_t start = pos;
    uint64_t wrapped = 0;  // whole passes over the data
    for (uint32_t f = 0; f < frames; ++f) {
        const uint32_t i = static_cast<uint32_t>(pos >> 32);
        const float t = static_cast<float>(pos & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
        uint32_t next = i + 1;
        if (next >= v.frames) next = v.looping ? 0 : i;
        float left = 0, right = 0;
        for (uint16_t c = 0; c < v.channels && c < 2; ++c) {
            const float a = static_cast<float>(SampleAt(v, i, c));
            const float b = static_cast<float>(SampleAt(v, next, c));
            (c == 0 ? left : right) = a + (b - a) * t;
        }
        if (v.channels == 1) right = left;
        left *= v.gainLeft;
        right *= v.gainRight;
        if (outChannels == 1) {
            acc[f] += static_cast<int32_t>(std::lround((left + right) * 0.5f));
        } else {
            acc[2 * f] += static_cast<int32_t>(std::lround(left));
            acc[2 * f + 1] += static_cast<int32_t>(std::lround(right));
        }
        pos += step;
        if (pos >= end) {
            if (!v.looping) {
                outcome.ended = true;
                break;
            }
            // A step may be longer than the whole buffer (a short buffer at a high rate): it can pass
            // over the data more than once.
            wrapped += pos / end;
            pos %= end;
        }
    }
    if (outcome.ended) {
        outcome.framesPassed = v.frames - (start >> 32);
        outcome.position = 0;
        return outcome;
    }
    outcome.framesPassed = wrapped * v.frames + (pos >> 32) - (start >> 32);
    outcome.position = pos;
    return outcome;
}

void Saturate(const int32_t* acc, int16_t* out, uint32_t samples) {
    for (uint32_t i = 0; i < samples; ++i) out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
}

void VolumePanGains(int32_t volume, int32_t pan, float& left, float& right) {
    const float level = volume >= 0 ? 1.0f : std::pow(10.0f, static_cast<float>(volume) / 2000.0f);
    left = level * (pan > 0 ? std::pow(10.0f, static_cast<float>(-pan) / 2000.0f) : 1.0f);
    right = level * (pan < 0 ? std::pow(10.0f, static_cast<float>(pan) / 2000.0f) : 1.0f);
}

}  // namespace dsound
