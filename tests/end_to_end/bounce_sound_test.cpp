// F5 plays the bounce while it is held: the run's sound file (with the fixed clock, 1/60 s of sound
// for each presented frame) is silent in every frame before the key, sounds in every frame that it
// is held, and falls silent again once the last bounce has played out.
#include <cstring>

#include "scripted_run.h"

namespace {

struct WaveFile {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;  // interleaved
};

uint32_t Little(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// A PCM RIFF/WAVE file of 16-bit samples; answers an empty text or what is wrong with it.
std::string ReadWaveFile(const std::filesystem::path& path, WaveFile& wave) {
    const std::string bytes = ReadFile(path);
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return path.string() + ": no RIFF/WAVE file";
    bool haveFormat = false, haveData = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const size_t size = Little(bytes, at + 4, 4);
        if (at + 8 + size > bytes.size()) return path.string() + ": chunk " + id + " runs past the end";
        if (id == "fmt " && size >= 16) {
            if (Little(bytes, at + 8, 2) != 1) return path.string() + ": not PCM";
            wave.channels = static_cast<int>(Little(bytes, at + 10, 2));
            wave.rate = static_cast<int>(Little(bytes, at + 12, 4));
            wave.bits = static_cast<int>(Little(bytes, at + 22, 2));
            haveFormat = true;
        } else if (id == "data") {
            wave.samples.resize(size / 2);
            std::memcpy(wave.samples.data(), bytes.data() + at + 8, wave.samples.size() * 2);
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData) return path.string() + ": no format or no data";
    if (wave.bits != 16 || wave.channels < 1) return path.string() + ": not 16-bit samples";
    return {};
}

// Whether any sample of presented frame n (from 1) is not zero.
bool Sounds(const WaveFile& wave, int frame) {
    const size_t first = size_t(frame - 1) * size_t(wave.rate) / 60, last = size_t(frame) * size_t(wave.rate) / 60;
    for (size_t f = first; f < last; ++f)
        for (int c = 0; c < wave.channels; ++c) {
            const size_t i = f * size_t(wave.channels) + size_t(c);
            if (i < wave.samples.size() && wave.samples[i] != 0) return true;
        }
    return false;
}

class BounceSound : public ScriptedRun {};

TEST_F(BounceSound, IsSilentBeforeF5AndSoundsInEveryFrameItIsHeld) {
    constexpr int kFrames = 90;
    const std::filesystem::path wavePath = m_run.scratch.Path() / "sound.wav";
    ASSERT_NO_FATAL_FAILURE(
        Run({.frames = kFrames, .script = "f5_held.txt", .extra = {{"MORVATH_AUDIO_OUT", wavePath.string()}}}));
    WaveFile wave;
    const std::string error = ReadWaveFile(wavePath, wave);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(wave.rate, 22050);
    EXPECT_EQ(wave.channels, 2);
    ASSERT_EQ(wave.samples.size(), size_t(kFrames) * size_t(wave.rate) / 60 * size_t(wave.channels));

    std::string heard;  // one character a frame, for the failure message
    for (int frame = 1; frame <= kFrames; ++frame) heard += Sounds(wave, frame) ? '#' : '.';
    for (int frame = 1; frame <= 20; ++frame) EXPECT_FALSE(Sounds(wave, frame)) << "frame " << frame << ": " << heard;
    for (int frame = 21; frame <= 50; ++frame) EXPECT_TRUE(Sounds(wave, frame)) << "frame " << frame << ": " << heard;
    // The bounce lasts well under half a second, and nothing starts it again.
    for (int frame = kFrames - 10; frame <= kFrames; ++frame)
        EXPECT_FALSE(Sounds(wave, frame)) << "frame " << frame << ": " << heard;
    const JsonValue* audio = Report().Find("audio");
    ASSERT_NE(audio, nullptr);
    EXPECT_GT(NumberIn(*audio, "plays"), 0.0);
}

}  // namespace
