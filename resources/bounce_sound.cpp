// The WAVE resource "BOUNCE": a ball dropped on a hard floor, four impacts closer and softer each
// time. RIFF/WAVE PCM, mono, 11,025 samples per second, 16 bits, 6,712 samples (13,468 bytes).
#include <cmath>

#include "resource_builders.h"
#include "resource_writer.h"

namespace {

constexpr uint32_t kSampleRate = 11025;
constexpr uint32_t kSampleCount = 6712;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kChannels = 1;
constexpr uint32_t kDataBytes = kSampleCount * kChannels * (kBitsPerSample / 8);

struct Impact {
    double start;      // seconds
    double amplitude;
};

const Impact kImpacts[] = {{0.0, 1.0}, {0.24, 0.6}, {0.40, 0.36}, {0.50, 0.2}};

// One impact: a tone falling from 620 Hz to 170 Hz, a 2 ms attack and a fast decay.
double ImpactAt(double t) {
    if (t < 0.0) return 0.0;
    const double pi = 3.14159265358979323846;
    const double sweep = 0.05;
    const double low = 170.0, high = 620.0;
    // Phase of an exponential frequency glide from high to low over `sweep` seconds, then constant.
    const double k = std::log(low / high) / sweep;
    const double phase = t < sweep ? high * (std::exp(k * t) - 1.0) / k
                                   : high * (std::exp(k * sweep) - 1.0) / k + low * (t - sweep);
    const double attack = t < 0.002 ? t / 0.002 : 1.0;
    return attack * std::exp(-t / 0.035) * std::sin(2.0 * pi * phase);
}

std::vector<uint8_t> Build() {
    ResourceWriter out;
    out.FourCC("RIFF");
    out.Dword(4 + 8 + 16 + 8 + kDataBytes);
    out.FourCC("WAVE");
    out.FourCC("fmt ");
    out.Dword(16);
    out.Word(1);  // PCM
    out.Word(kChannels);
    out.Dword(kSampleRate);
    out.Dword(kSampleRate * kChannels * (kBitsPerSample / 8));
    out.Word(kChannels * (kBitsPerSample / 8));
    out.Word(kBitsPerSample);
    out.FourCC("data");
    out.Dword(kDataBytes);
    for (uint32_t i = 0; i < kSampleCount; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double value = 0.0;
        for (const Impact& impact : kImpacts) value += impact.amplitude * ImpactAt(t - impact.start);
        // Fade the tail so that the sound ends in silence.
        const double end = static_cast<double>(kSampleCount) / kSampleRate;
        if (t > end - 0.02) value *= (end - t) / 0.02;
        long sample = std::lround(value * 0.7 * 32767.0);
        if (sample > 32767) sample = 32767;
        if (sample < -32768) sample = -32768;
        out.Short(static_cast<int16_t>(sample));
    }
    return out.Take();
}

}  // namespace

const std::vector<uint8_t>& BounceSound() {
    static const std::vector<uint8_t> wave = Build();
    return wave;
}
