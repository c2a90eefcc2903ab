// RIFF/WAVE data through the sound module, as a program makes its sounds: the bytes as a file and as
// a program resource of type "WAVE" (CSoundSystem::CreateSample, the mmio file and memory-file
// readers underneath), as a caller's memory image with a format of its own
// (CSoundSystem::CreateSampleFromMemory) and as a stream (CSoundSystem::CreateStream). Whatever is
// made is played and mixed for a moment, so the mixer reads the buffers in the formats the file chose.
//
// The input is three parts (fuzz_parts.h): the options byte, the memory image's format (a
// WAVEFORMATEX, its extra bytes after it) and the wave bytes.
#include <cstring>

#include "dsutil.h"
#include "fuzz_support.h"
#include "machine/audio.h"
#include "machine/control.h"

namespace {

// The sound set-up of a program: its own window handle is all the cooperative level needs.
HWND SoundWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5150)); }

DWORD CreationFlags(uint8_t options) {
    DWORD flags = 0;
    if (options & 0x08) flags |= DSBCAPS_CTRLFX;
    if (options & 0x10) flags |= DSBCAPS_CTRL3D;
    if (options & 0x20) flags |= DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN;
    return flags;
}

void PlayAndMix(CSoundSample* sample, uint8_t options) {
    sample->Play(0, (options & 0x40) ? DSBPLAY_LOOPING : 0, -600, -1, 300);
    sample->Play(0, 0, 0, -1, 0);
    machine::control::StepAudio(512);
    sample->StopAll();
    sample->RewindAll();
    volatile BOOL playing = sample->IsAnyPlaying();
    (void)playing;
}

// A caller's format: at least a whole WAVEFORMATEX, and as many extra bytes after it as it declares.
std::vector<uint8_t> CallerFormat(const fuzz::Bytes& bytes) {
    std::vector<uint8_t> format(std::max(bytes.size(), sizeof(WAVEFORMATEX)), 0);
    if (!bytes.empty()) std::memcpy(format.data(), bytes.data(), bytes.size());
    WORD extra = 0;
    std::memcpy(&extra, format.data() + offsetof(WAVEFORMATEX, cbSize), sizeof extra);
    if (format.size() < sizeof(WAVEFORMATEX) + extra) format.resize(sizeof(WAVEFORMATEX) + extra, 0);
    return format;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<fuzz::Bytes> parts = fuzz::SplitParts(data, size, 3);
    const uint8_t options = parts[0].empty() ? 0 : parts[0][0];
    fuzz::Bytes& wave = parts[2];
    const DWORD flags = CreationFlags(options);
    const DWORD count = 1 + (options & 0x07) % 4;

    machine::control::Reset();
    machine::control::SetAudioSink(machine::control::AudioSink::Virtual);
    {
        CSoundSystem sound;
        if (FAILED(sound.Initialize(SoundWindow(), DSSCL_PRIORITY))) std::abort();
        sound.SetPrimaryBufferFormat(2, 22050, 16);

        // From a file, then from a resource of that name (no file opens under it).
        const std::string path = fuzz::WriteScratchFile(wave.data(), wave.size(), ".wav");
        CSoundSample* sample = nullptr;
        if (SUCCEEDED(sound.CreateSample(&sample, path.c_str(), flags, GUID_NULL, count))) {
            PlayAndMix(sample, options);
            delete sample;
        }
        fuzz::RegisterResource("WAVE", "FUZZSOUND", wave.data(), wave.size());
        sample = nullptr;
        if (SUCCEEDED(sound.CreateSample(&sample, "FUZZSOUND", flags, GUID_NULL, count))) {
            PlayAndMix(sample, options);
            delete sample;
        }
        fuzz::ClearResources();

        // The same bytes as a memory image in the caller's format.
        std::vector<uint8_t> format = CallerFormat(parts[1]);
        sample = nullptr;
        if (!wave.empty() &&
            SUCCEEDED(sound.CreateSampleFromMemory(&sample, wave.data(), DWORD(wave.size()),
                                                   reinterpret_cast<WAVEFORMATEX*>(format.data()), flags, GUID_NULL,
                                                   count))) {
            PlayAndMix(sample, options);
            delete sample;
        }

        // A stream of the file, in segments of a size the options choose, refilled as it plays.
        HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CSoundStream* stream = nullptr;
        const DWORD segments = 2 + (options >> 6);
        const DWORD segmentSize = 64u << ((options >> 3) & 3);
        if (SUCCEEDED(sound.CreateStream(&stream, path.c_str(), flags & ~DSBCAPS_CTRLFX, GUID_NULL, segments,
                                         segmentSize, event))) {
            stream->Play(0, DSBPLAY_LOOPING, 0, -1, 0);
            for (int i = 0; i < 4; ++i) {
                machine::control::StepAudio(256);
                stream->RefillNextSegment(i % 2 == 0);
            }
            stream->StopAll();
            stream->Restart();
            delete stream;
        }
        CloseHandle(event);
    }
    machine::control::Reset();
    return 0;
}
