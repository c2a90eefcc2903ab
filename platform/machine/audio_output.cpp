// The machine's audio outputs: what drives each one (presented frames, a real-time thread, the sound
// card or a test), the recording of the output heard, and the statistics of the report.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "audio_parts.h"
#include "machine/audio.h"
#include "machine/control.h"
#include "machine/machine.h"
#include "machine_parts.h"

namespace machine {
namespace {

struct Output;

struct AudioState {
    std::mutex mutex;  // guards everything below; never held while a source mixes
    control::AudioSink sink = control::AudioSink::Null;
    std::string path;
    bool deviceAllowed = true;
    std::vector<Output*> outputs;  // open, oldest first
    Output* current = nullptr;
    bool recordedFormatSet = false;
    AudioFormat recordedFormat;
    std::vector<int16_t> recorded;
    uint64_t framesMixed = 0;
    int32_t peak = 0;
    uint64_t plays = 0;
    bool opened = false;
    std::string currentSinkName;
};

AudioState& State() {
    static AudioState state;
    return state;
}

const char* SinkName(control::AudioSink sink) {
    switch (sink) {
        case control::AudioSink::Virtual: return "virtual";
        case control::AudioSink::WavFile: return "wav";
        case control::AudioSink::Device: return "sdl";
        default: return "null";
    }
}

// Mixed frames reach the machine here: counted, measured, and recorded when they are heard.
void Heard(Output* output, const int16_t* samples, uint32_t frames, const AudioFormat& format);

struct Output final : AudioOutput {
    Output(const AudioFormat& f, AudioSource s, control::AudioSink k) : format(f), source(std::move(s)), sink(k) {}

    ~Output() override {
        StopDriving();
        AudioState& s = State();
        std::lock_guard lock(s.mutex);
        s.outputs.erase(std::remove(s.outputs.begin(), s.outputs.end(), this), s.outputs.end());
        if (s.current == this) s.current = s.outputs.empty() ? nullptr : s.outputs.back();
    }

    void SetFormat(const AudioFormat& f) override {
        {
            std::lock_guard lock(mutex);
            if (format == f) return;
            format = f;
            // The frame clock counts anew at the new rate.
            frameBase = FramesPresented();
            framesSinceBase = 0;
        }
        if (device) device->Reopen(f);
    }

    AudioFormat Format() const override {
        std::lock_guard lock(mutex);
        return format;
    }

    // Mixes frames now and hands them to the machine. Serialised by mixMutex.
    void Mix(uint32_t frames) {
        if (frames == 0) return;
        std::lock_guard mixing(mixMutex);
        const AudioFormat f = Format();
        scratch.assign(static_cast<size_t>(frames) * f.channels, 0);
        source(scratch.data(), frames, f);
        Heard(this, scratch.data(), frames, f);
    }

    // Fixed clock: the frames owed for the frames presented since the base.
    void CatchUpWithFrames() {
        uint32_t owed = 0;
        {
            std::lock_guard lock(mutex);
            const uint64_t elapsed = FramesPresented() - frameBase;
            const uint64_t target = elapsed * format.rate / 60;
            owed = static_cast<uint32_t>(target - framesSinceBase);
            framesSinceBase = target;
        }
        Mix(owed);
    }

    void StartThread() {
        running = true;
        thread = std::thread([this] {
            auto last = std::chrono::steady_clock::now();
            double owed = 0;
            while (running) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                auto now = std::chrono::steady_clock::now();
                owed += std::chrono::duration<double>(now - last).count() * Format().rate;
                last = now;
                const auto frames = static_cast<uint32_t>(owed);
                owed -= frames;
                Mix(frames);
            }
        });
    }

    void StopDriving() {
        device.reset();
        if (thread.joinable()) {
            running = false;
            thread.join();
        }
    }

    mutable std::mutex mutex;  // format and frame clock
    std::mutex mixMutex;
    AudioFormat format;
    AudioSource source;
    control::AudioSink sink;
    uint64_t frameBase = 0;
    uint64_t framesSinceBase = 0;
    std::vector<int16_t> scratch;
    std::atomic<bool> running{false};
    std::thread thread;
    std::unique_ptr<detail::SoundCard> device;
};

// Nearest-frame conversion of a recorded stretch into the recording's format (only when the format
// changes during a run).
void AppendConverted(std::vector<int16_t>& to, const AudioFormat& toFormat, const int16_t* from, uint32_t frames,
                     const AudioFormat& fromFormat) {
    if (toFormat.rate == fromFormat.rate && toFormat.channels == fromFormat.channels) {
        to.insert(to.end(), from, from + static_cast<size_t>(frames) * fromFormat.channels);
        return;
    }
    const uint64_t outFrames = static_cast<uint64_t>(frames) * toFormat.rate / fromFormat.rate;
    for (uint64_t i = 0; i < outFrames; ++i) {
        const int16_t* frame = from + (i * fromFormat.rate / toFormat.rate) * fromFormat.channels;
        const int left = frame[0], right = fromFormat.channels > 1 ? frame[1] : frame[0];
        if (toFormat.channels == 1) {
            to.push_back(static_cast<int16_t>((left + right) / 2));
        } else {
            to.push_back(static_cast<int16_t>(left));
            to.push_back(static_cast<int16_t>(right));
        }
    }
}

void Heard(Output* output, const int16_t* samples, uint32_t frames, const AudioFormat& format) {
    AudioState& s = State();
    std::lock_guard lock(s.mutex);
    if (output != s.current) return;
    s.framesMixed += frames;
    const size_t count = static_cast<size_t>(frames) * format.channels;
    for (size_t i = 0; i < count; ++i) s.peak = std::max<int32_t>(s.peak, std::abs(static_cast<int32_t>(samples[i])));
    if (output->sink != control::AudioSink::WavFile && output->sink != control::AudioSink::Virtual &&
        s.path.empty())
        return;
    if (!s.recordedFormatSet) {
        s.recordedFormatSet = true;
        s.recordedFormat = format;
    }
    AppendConverted(s.recorded, s.recordedFormat, samples, frames, format);
}

// Said once a process: the sound is mixed all the same, in real time, and heard by no one.
void SayThereIsNoSoundCard() {
    static std::once_flag said;
    std::call_once(said,
                   [] { std::fprintf(stderr, "[machine] no sound card: the sound is mixed and goes nowhere\n"); });
}

}  // namespace

std::unique_ptr<AudioOutput> OpenAudioOutput(const AudioFormat& format, AudioSource source) {
    AudioState& s = State();
    control::AudioSink sink;
    bool allowDevice;
    {
        std::lock_guard lock(s.mutex);
        sink = s.sink;
        allowDevice = s.deviceAllowed;
    }
    auto output = std::make_unique<Output>(format, std::move(source), sink);
    output->frameBase = FramesPresented();
    std::string sinkName = SinkName(sink);
    if (sink != control::AudioSink::Virtual && control::GetClockMode() == control::ClockMode::Real) {
        Output* raw = output.get();
        if (allowDevice) {
            output->device = detail::OpenSoundCard(format, [raw](int16_t* out, uint32_t frames, const AudioFormat& f) {
                raw->source(out, frames, f);
                Heard(raw, out, frames, f);
            });
        }
        if (output->device) {
            sinkName = "sdl";
        } else {
            if (allowDevice) SayThereIsNoSoundCard();
            output->StartThread();
        }
    }
    std::lock_guard lock(s.mutex);
    s.outputs.push_back(output.get());
    s.current = output.get();
    s.opened = true;
    s.currentSinkName = sinkName;
    return output;
}

void NoteAudioPlayStarted() {
    std::lock_guard lock(State().mutex);
    ++State().plays;
}

namespace detail {

void AdvanceAudioForFrame() {
    if (control::GetClockMode() != control::ClockMode::Fixed) return;
    std::vector<Output*> outputs;
    {
        std::lock_guard lock(State().mutex);
        for (Output* o : State().outputs)
            if (o->sink != control::AudioSink::Virtual) outputs.push_back(o);
    }
    for (Output* o : outputs) o->CatchUpWithFrames();
}

void ResetAudio() {
    AudioState& s = State();
    std::lock_guard lock(s.mutex);
    s.path.clear();
    s.sink = control::AudioSink::Null;
    s.deviceAllowed = true;
    s.recordedFormatSet = false;
    s.recorded.clear();
    s.framesMixed = 0;
    s.peak = 0;
    s.plays = 0;
    s.opened = !s.outputs.empty();
}

std::string AudioReportJson() {
    const control::AudioStats a = control::GetAudioStats();
    return "{\"sink\": " + JsonString(a.sink) + ", \"format\": {\"channels\": " + std::to_string(a.format.channels) +
           ", \"rate\": " + std::to_string(a.format.rate) + ", \"bits\": " + std::to_string(a.format.bits) +
           "}, \"frames_mixed\": " + std::to_string(a.framesMixed) + ", \"peak\": " + std::to_string(a.peak) +
           ", \"plays\": " + std::to_string(a.plays) + "}";
}

bool FinishAudio() {
    if (State().path.empty()) return true;
    std::string error;
    if (control::WriteAudioFile(error)) return true;
    std::fprintf(stderr, "[machine] %s\n", error.c_str());
    return false;
}

}  // namespace detail

namespace control {

void SetAudioSink(AudioSink sink) {
    std::lock_guard lock(State().mutex);
    State().sink = sink;
}

AudioSink GetAudioSink() {
    std::lock_guard lock(State().mutex);
    return State().sink;
}

void SetAudioOutputPath(const std::string& path) {
    std::lock_guard lock(State().mutex);
    State().path = path;
    if (!path.empty()) State().sink = AudioSink::WavFile;
}

void SetAudioDeviceAllowed(bool allowed) {
    std::lock_guard lock(State().mutex);
    State().deviceAllowed = allowed;
}

void StepAudio(uint32_t frames) {
    std::vector<Output*> outputs;
    {
        std::lock_guard lock(State().mutex);
        outputs = State().outputs;
    }
    for (Output* o : outputs) o->Mix(frames);
}

AudioFormat RecordedAudioFormat() {
    std::lock_guard lock(State().mutex);
    return State().recordedFormat;
}

std::vector<int16_t> RecordedAudio() {
    std::lock_guard lock(State().mutex);
    return State().recorded;
}

bool WriteAudioFile(std::string& error) {
    std::string path;
    AudioFormat format;
    std::vector<int16_t> samples;
    {
        std::lock_guard lock(State().mutex);
        path = State().path;
        format = State().recordedFormatSet ? State().recordedFormat
                 : State().current        ? State().current->Format()
                                          : AudioFormat{};
        samples = State().recorded;
    }
    if (path.empty()) {
        error = "no audio output file set";
        return false;
    }
    return detail::WriteWaveFile(path, format, samples, error);
}

AudioStats GetAudioStats() {
    AudioState& s = State();
    std::lock_guard lock(s.mutex);
    AudioStats stats;
    stats.sink = s.current ? s.currentSinkName : SinkName(s.sink);
    stats.format = s.current ? s.current->Format() : AudioFormat{};
    stats.framesMixed = s.framesMixed;
    stats.peak = s.peak;
    stats.plays = s.plays;
    stats.opened = s.opened;
    return stats;
}

}  // namespace control
}  // namespace machine
