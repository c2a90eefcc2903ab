// The software mixer's arithmetic, on plain data: one voice (a playing buffer) resampled from its own
// format and rate into the output's, with its gains, added into a 32-bit accumulator.
#pragma once

#include <cstdint>

namespace dsound {

struct VoiceSource {
    const uint8_t* data = nullptr;
    uint32_t frames = 0;       // whole sample frames in the data (a trailing partial frame is ignored)
    uint16_t channels = 1;     // 1 or 2
    uint16_t bits = 16;        // 8 (unsigned) or 16 (signed)
    uint32_t blockAlign = 2;
    uint32_t rate = 22050;     // samples per second it plays at
    bool looping = false;
    float gainLeft = 1.0f, gainRight = 1.0f;
};

struct MixOutcome {
    uint64_t position = 0;   // new play position: frames in the high 32 bits, the fraction below
    uint64_t framesPassed = 0;  // source frames the play cursor moved over (wraps included)
    bool ended = false;      // a non-looping voice reached its end
};

// Adds frames output frames of the voice, starting at position, into acc (outChannels per frame).
MixOutcome MixVoice(const VoiceSource& voice, uint64_t position, int32_t* acc, uint32_t frames, uint32_t outRate,
                    uint16_t outChannels);

// The accumulator saturated to 16 bits.
void Saturate(const int32_t* acc, int16_t* out, uint32_t samples);

// Gains of a volume in hundredths of a decibel (-10000 to 0) and a pan (-10000 left to 10000 right).
void VolumePanGains(int32_t volume, int32_t pan, float& left, float& right);

}  // namespace dsound
