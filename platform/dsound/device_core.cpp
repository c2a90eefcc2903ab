#include "device_core.h"

#include <algorithm>

#include "machine/machine.h"
#include "mixer.h"
#include "winbase.h"

namespace dsound {
namespace {

// The default primary format: 22,050 Hz, 2 channels, 16 bits.
WAVEFORMATEX DefaultFormat() {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 2;
    f.nSamplesPerSec = 22050;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 4;
    f.nAvgBytesPerSec = 88200;
    return f;
}

machine::AudioFormat OutputFormat(const WAVEFORMATEX& f) {
    return {f.nSamplesPerSec, f.nChannels, f.wBitsPerSample};
}

// The events of the positions the cursor moved over, from the first passed on.
void CollectPassed(const Voice& v, DWORD from, uint64_t bytesPassed, std::vector<HANDLE>& events) {
    if (v.notifications.empty() || bytesPassed == 0) return;
    std::vector<std::pair<uint64_t, HANDLE>> passed;
    for (const DSBPOSITIONNOTIFY& n : v.notifications) {
        const uint64_t distance = (static_cast<uint64_t>(n.dwOffset) + v.size - from) % v.size;
        if (distance < bytesPassed) passed.emplace_back(distance, n.hEventNotify);
    }
    std::sort(passed.begin(), passed.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& p : passed) events.push_back(p.second);
}

}  // namespace

DeviceCore::DeviceCore() : primaryFormat(DefaultFormat()) {
    listener.dwSize = sizeof(DS3DLISTENER);
    listener.vOrientFront = {0, 0, 1};
    listener.vOrientTop = {0, 1, 0};
    listener.flDistanceFactor = listener.flRolloffFactor = listener.flDopplerFactor = 1.0f;
    machine::NoteObjectCreated("sound device");
}

DeviceCore::~DeviceCore() {
    output_.reset();  // nothing mixes from here on
    machine::NoteObjectReleased("sound device");
}

void DeviceCore::OpenOutput() {
    output_ = machine::OpenAudioOutput(OutputFormat(primaryFormat),
                                       [this](int16_t* out, uint32_t frames, const machine::AudioFormat& format) {
                                           Mix(out, frames, format);
                                       });
}

void DeviceCore::ApplyPrimaryFormat(const WAVEFORMATEX& format) {
    if (output_) output_->SetFormat(OutputFormat(format));
}

void DeviceCore::Mix(int16_t* out, uint32_t frames, const machine::AudioFormat& format) {
    std::vector<int32_t> acc(static_cast<size_t>(frames) * format.channels, 0);
    std::vector<HANDLE> events;
    {
        std::lock_guard lock(mutex);
        float masterLeft, masterRight;
        VolumePanGains(masterVolume, masterPan, masterLeft, masterRight);
        for (Voice* v : voices) {
            if (!v->playing || v->Lost()) continue;
            VoiceSource source;
            source.data = v->memory->bytes.data();
            source.frames = v->Frames();
            source.channels = v->format.nChannels;
            source.bits = v->format.wBitsPerSample;
            source.blockAlign = v->format.nBlockAlign;
            source.rate = v->frequency != DSBFREQUENCY_ORIGINAL ? v->frequency : v->format.nSamplesPerSec;
            source.looping = v->looping;
            VolumePanGains(v->volume, v->pan, source.gainLeft, source.gainRight);
            source.gainLeft *= masterLeft;
            source.gainRight *= masterRight;
            const DWORD from = v->PlayCursor();
            const MixOutcome outcome = MixVoice(source, v->position, acc.data(), frames, format.rate, format.channels);
            CollectPassed(*v, from, outcome.framesPassed * v->format.nBlockAlign, events);
            v->position = outcome.position;
            if (outcome.ended) {
                // A buffer played to its end stops, its cursor back at the start.
                v->playing = false;
                v->position = 0;
            }
        }
    }
    Saturate(acc.data(), out, frames * format.channels);
    for (HANDLE event : events) SetEvent(event);
}

}  // namespace dsound
