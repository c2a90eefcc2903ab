// The machine's audio device. The sound area opens an output with the format it mixes in and a
// source that mixes on demand; the machine decides what drives it and where the sound goes:
//   virtual  nothing drives it; tests step it (control::StepAudio);
//   null     driven and discarded: with the fixed clock 1/60 s per presented frame, with the real
//            clock by a thread at the output's rate;
//   wav      like null, and the mixed sound is written as a RIFF/WAVE file when the run ends
//            (MORVATH_AUDIO_OUT);
//   sdl      the real clock with a sound card that opens (SDL2's audio): its callback drives the mix.
// The latest output opened is the one heard, recorded and reported; earlier ones still advance.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace machine {

struct AudioFormat {
    uint32_t rate = 22050;
    uint16_t channels = 2;
    uint16_t bits = 16;
    bool operator==(const AudioFormat&) const = default;
};

// Fills frames sample frames in format: interleaved 16-bit samples, format.channels per frame. Called
// on the machine's audio thread with the real clock; must not call back into the output.
using AudioSource = std::function<void(int16_t* out, uint32_t frames, const AudioFormat& format)>;

class AudioOutput {
public:
    virtual ~AudioOutput() = default;  // stops whatever drives the source before returning
    virtual void SetFormat(const AudioFormat& format) = 0;
    virtual AudioFormat Format() const = 0;
};

std::unique_ptr<AudioOutput> OpenAudioOutput(const AudioFormat& format, AudioSource source);

// A sound started playing (the report's "plays").
void NoteAudioPlayStarted();

}  // namespace machine

namespace machine::control {

enum class AudioSink { Virtual, Null, WavFile, Device };
// The sink for outputs opened from now on. Reset: null, or wav when an output file is set.
void SetAudioSink(AudioSink sink);
AudioSink GetAudioSink();
// Where the wav sink writes (MORVATH_AUDIO_OUT); empty = no file. Setting a path selects the wav sink.
void SetAudioOutputPath(const std::string& path);
// Whether the real clock may open the sound card (MORVATH_AUDIO=none forbids it).
void SetAudioDeviceAllowed(bool allowed);
// Virtual sink: mixes this many sample frames of every open output.
void StepAudio(uint32_t frames);
// The sound heard so far (the current output's), in the format of the first frame recorded; kept for
// the wav sink and the virtual one.
AudioFormat RecordedAudioFormat();
std::vector<int16_t> RecordedAudio();
// Writes the wav sink's file now (the run's end does it too); false with a reason when it cannot.
bool WriteAudioFile(std::string& error);

struct AudioStats {
    std::string sink;       // "virtual", "null", "wav" or "sdl"
    AudioFormat format;     // the current output's
    uint64_t framesMixed = 0;
    int32_t peak = 0;       // the largest sample magnitude heard, 0 to 32768
    uint64_t plays = 0;
    bool opened = false;    // an output was ever opened
};
AudioStats GetAudioStats();

}  // namespace machine::control
