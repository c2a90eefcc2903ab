// The device behind an IDirectSound8 and all of its buffers: the primary format, the voices (one per
// secondary buffer) and the mixer that the machine's audio output pulls. Every object made from the
// device holds it, so it lives until the last of them is released. One mutex guards the voices'
// state; the sample memory itself is written by the program without it, as the platform allows.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "dsound.h"
#include "machine/audio.h"

namespace dsound {

// Sample memory, shared by a buffer and its duplicates. Losing it loses every buffer that shares it;
// the first restore after a loss scrambles it (the program must fill it again).
struct SampleMemory {
    std::vector<uint8_t> bytes;
    uint32_t lossCount = 0;      // times the memory was taken away
    uint32_t scrambledFor = 0;   // the loss whose restore scrambled it
};

struct Voice {
    std::shared_ptr<SampleMemory> memory;
    WAVEFORMATEX format{};
    DWORD flags = 0;
    DWORD size = 0;
    bool playing = false;
    bool looping = false;
    uint64_t position = 0;  // frames in the high 32 bits
    DWORD frequency = DSBFREQUENCY_ORIGINAL;
    LONG volume = 0;
    LONG pan = 0;
    uint32_t restoredLoss = 0;  // the memory's loss this buffer has been restored from
    std::vector<DSBPOSITIONNOTIFY> notifications;  // sorted by offset
    DS3DBUFFER params3d{};
    struct LockedPart {
        uint8_t* p1;
        DWORD n1;
        uint8_t* p2;
        DWORD n2;
    };
    std::vector<LockedPart> locks;

    bool Lost() const { return restoredLoss != memory->lossCount; }
    DWORD PlayCursor() const { return static_cast<DWORD>(position >> 32) * format.nBlockAlign; }
    uint32_t Frames() const { return size / format.nBlockAlign; }
};

class DeviceCore {
public:
    DeviceCore();
    ~DeviceCore();
    DeviceCore(const DeviceCore&) = delete;
    DeviceCore& operator=(const DeviceCore&) = delete;

    std::mutex mutex;
    // Under the mutex.
    WAVEFORMATEX primaryFormat{};
    DWORD cooperativeLevel = 0;
    HWND window = nullptr;
    DWORD speakerConfig = 0;
    LONG masterVolume = 0, masterPan = 0;
    DS3DLISTENER listener{};
    std::vector<Voice*> voices;

    // Opens the machine's output (after construction, so the mixer sees a whole object).
    void OpenOutput();
    // Applies a new primary format to the output; call without holding the mutex.
    void ApplyPrimaryFormat(const WAVEFORMATEX& format);

private:
    void Mix(int16_t* out, uint32_t frames, const machine::AudioFormat& format);
    std::unique_ptr<machine::AudioOutput> output_;
};

}  // namespace dsound
